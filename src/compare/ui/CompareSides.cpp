#include "compare/ui/CompareSides.h"

#include "core/DocumentFile.h"
#include "core/Translations.h"
#include "hex/HexText.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"

#include <system_error>

namespace quillet {

namespace {

QString NameWithoutStars(QString name)
{
    return name.remove(QLatin1Char('*'));
}

std::vector<std::string> LinesOf(const TMemoSource& source)
{
    std::vector<std::string> lines;
    const int count = source.GetStrCount();
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        lines.emplace_back(source.GetRawLine(i));
    }
    return lines;
}

} // namespace

bool IsMissingOrBinary(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return true;
    }
    // A file with a byte-order mark is read in its Unicode charset, whose
    // code units hold control bytes in ordinary text (U+0400 is 00 04).
    return IsHex(file) && !GetFileTypes(file).hasByteOrderMark;
}

TSideLoad LoadCompareSide(const TCompareChoice& choice)
{
    TSideLoad load;
    if (choice.document) {
        TChildForm& form = *choice.document;
        load.side.document = choice.document;
        load.side.displayName = NameWithoutStars(
            form.FileName().empty() ? form.windowTitle() : QString::fromStdString(form.FileName().string()));
        load.side.syntaxFile = DocumentSyntaxFile(form);
        load.side.codePageIndex = form.CodePage();
        load.side.lines = LinesOf(form.MemoSource());
        load.ok = true;
        return load;
    }
    if (!choice.file) {
        return load;
    }
    const std::filesystem::path& file = choice.file->file;
    load.side.displayName = NameWithoutStars(QString::fromStdString(file.string()));
    const auto binaryMessage = [&] {
        return QString::fromStdString(LangFormat("CouldNotCompareBin",
            "Could not compare with file \"%s\". It is binary file or not exists.",
            {file.string()}));
    };
    if (IsMissingOrBinary(file)) {
        load.error = binaryMessage();
        return load;
    }
    const TDocumentLoad document = LoadTextDocument(file, choice.file->codePageIndex, true);
    if (!document.result || document.notFound) {
        // Gone or unreadable between the check and the read.
        load.error = binaryMessage();
        if (!document.result.reason.empty()) {
            load.error += QStringLiteral("\n") + QString::fromStdString(document.result.reason);
        }
        return load;
    }
    // Split as a document window's buffer splits a loaded file.
    TMemoSource buffer;
    buffer.LoadFromText(document.text, false);
    load.side.lines = LinesOf(buffer);
    load.side.codePageIndex = document.codePageIndex;
    load.ok = true;
    return load;
}

bool DocumentUnchanged(TChildForm& document, const std::vector<std::string>& lines)
{
    const TMemoSource& source = document.MemoSource();
    if (source.GetStrCount() != static_cast<int>(lines.size())) {
        return false;
    }
    for (int i = 0; i < source.GetStrCount(); ++i) {
        if (source.GetRawLine(i) != lines[static_cast<std::size_t>(i)]) {
            return false;
        }
    }
    return true;
}

} // namespace quillet
