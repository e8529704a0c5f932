// sample.cpp - a tiny word-frequency table.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

/* A block comment with a // line comment marker inside
   and a "string" that is not a string. */
namespace demo {

template <typename T>
concept Countable = requires(T t) { t.size(); };

class WordTable final {
public:
    explicit WordTable(std::string_view text) noexcept;
    [[nodiscard]] std::size_t Count(const std::string &word) const;
    virtual ~WordTable() = default;

private:
    std::map<std::string, std::size_t> m_counts;
};

WordTable::WordTable(std::string_view text) noexcept
{
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\'') {
            if (!word.empty()) {
                ++m_counts[word];
                word.clear();
            }
        } else {
            word += static_cast<char>(c | 0x20);
        }
    }
}

std::size_t WordTable::Count(const std::string &word) const
{
    auto it = m_counts.find(word);
    return it == m_counts.end() ? 0uz : it->second;
}

} // namespace demo

static const char *kHelp = R"(
usage: words FILE
  counts "words" in FILE)";
static const char *kEscaped = "tab\there, quote \" and backslash \\";
constexpr auto kMask = 0xDEADBEEFull;
constexpr double kHalf = .5, kBig = 1.25e+10;

int main(int argc, char *argv[])
{
    if (argc < 2 && kHelp != nullptr) {
        return 1;
    }
    std::vector<int> values{1, 2, 3};
    auto total = std::count_if(values.begin(), values.end(),
                               [](int v) { return v % 2 == 0; });
#ifdef DEBUG
    std::printf("total=%d mask=%llx\n", static_cast<int>(total), kMask);
#endif
    (void)kEscaped; (void)kHalf; (void)kBig;
    return 0;
}
