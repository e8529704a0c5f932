/* sample.c - a small line counter.
 * The comment spans several lines and mentions "quotes" and 'chars'
 * without ending early: * / is not a terminator, only */
#include <stdio.h>
#include "config.h" /* trailing comment after a directive */
#define MAX_LINE 4096
#define SQUARE(x) ((x) * (x)) \
    /* continued directive line */
#if defined(_WIN32) && !defined(NDEBUG)
#  pragma warning(disable : 4996)
#endif

typedef struct {
    size_t lines;
    unsigned long bytes;
    double ratio;
} counts_t;

static const char *kBanner = "count \"lines\" of a file\n";
static const char kTab = '\t';
static const char kQuote = '\'';
static const char *kPath = "C:\\temp\\"; // backslash before the closing quote
static const char *kLong = "first part \
second part of a continued string";

int count(FILE *f, counts_t *out)
{
    int c, prev = '\n';
    out->lines = 0u;
    out->bytes = 0UL;
    while ((c = fgetc(f)) != EOF) {
        out->bytes++;
        if (c == '\n') {
            out->lines += 1;
        }
        prev = c;
    }
    if (prev != '\n' && out->bytes > 0) {
        out->lines++; /* last line without a line end */
    }
    out->ratio = out->bytes ? (double)out->lines / out->bytes : 0.0;
    return 0;
}

int main(int argc, char **argv)
{
    counts_t n = {0};
    unsigned mask = 0xFFu, bits = 0b1010, octal = 0755;
    float scale = 1.5f, tiny = 1e-3F, big = 6.02e23;
    long long total = 123456789LL;
    if (argc < 2) {
        fputs(kBanner, stderr);
        return 1;
    }
    FILE *f = fopen(argv[1], "rb");
    if (f == NULL) {
        perror("fopen");
        return 2;
    }
    count(f, &n);
    printf("%zu lines, %lu bytes (%.2f)\n", n.lines, n.bytes, n.ratio);
    (void)mask; (void)bits; (void)octal; (void)scale; (void)tiny;
    (void)big; (void)total; (void)kTab; (void)kQuote; (void)kPath;
    (void)kLong;
    fclose(f);
    return 0;
}
