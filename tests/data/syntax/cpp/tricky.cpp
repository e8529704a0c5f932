#include <vector> // trailing comment
#define MAX(a, b) \
    ((a) > (b) ? (a) : (b)) /* inside a directive */ + 1
int x = 0x1Fu + 07 + 1.5e-3f + 10; // numbers
const char* s = "quote \" and backslash \\"; char c = '\'';
const char* open = "unterminated
int after = 1; /* starts here
   still a comment "not a string"
   ends */ return x;
auto raw = R"(raw "text")";
x = a/b; y = a / *p;
long big = 1'000'000 + 0xFF'FFu + 0b1010'0101ULL + 3'5.2'5e3; char q = '1';
double h = 0x1.8p-3 + 0x1P4f;
