// Project files: any bytes are read or refused. An accepted project has its
// count and active entry in range; written for its own folder, a sibling
// folder or one far away it reads back to the same entries, and writing it
// again gives the same text. Adding and removing entries keep the numbering.
#include "FuzzSupport.h"
#include "app/Project.h"

#include <algorithm>
#include <optional>

using namespace quillet;
namespace fs = std::filesystem;

namespace {

// Entries compared one by one; a damaged count may claim very many.
constexpr int kComparedEntries = 64;

void CheckSameEntries(const TProject& a, const TProject& b, int shift = 0)
{
    for (int i = 1; i + shift <= std::min(a.Count(), kComparedEntries); ++i) {
        fuzz::Check(a.Name(i + shift) == b.Name(i), "entry names survive");
        fuzz::Check(a.IsOpen(i + shift) == b.IsOpen(i), "open flags survive");
        fuzz::Check(a.Type(i + shift) == b.Type(i), "types survive");
        fuzz::Check(a.CodePage(i + shift) == b.CodePage(i), "charsets survive");
    }
}

void CheckInRange(const TProject& project)
{
    fuzz::Check(project.Count() >= 0, "the count is not negative");
    fuzz::Check(project.ActiveFile() >= 0 && project.ActiveFile() <= project.Count(), "the active entry is in range");
}

void CheckWrittenFor(const TProject& project, const fs::path& file)
{
    const std::string written = project.Serialize(file);
    const std::optional<TProject> reread = TProject::Parse(written, file);
    fuzz::Check(reread.has_value(), "a written project reads back");
    fuzz::Check(reread->Count() == project.Count(), "the count survives");
    fuzz::Check(reread->ActiveFile() == project.ActiveFile(), "the active entry survives");
    CheckSameEntries(project, *reread);
    fuzz::Check(reread->Serialize(file) == written, "writing is stable");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Bytes(data, size);
    const fs::path file = "/home/u/p/a.qpr";
    std::optional<TProject> project = TProject::Parse(text, file);
    if (!project) {
        // The same bytes behind a signature, so that they are read as entries.
        project = TProject::Parse("[General]\nSignature=Quillet project file\n" + std::string(text), file);
        if (!project) {
            return 0;
        }
    }
    CheckInRange(*project);
    fuzz::Check(!project->IsModified(), "a project just read is not modified");
    for (const fs::path& target : {file, fs::path("/home/u/q/b.qpr"), fs::path("/srv/far/away/c.qpr")}) {
        CheckWrittenFor(*project, target);
    }

    // Editing: an entry named by the input's first line is added last, and
    // removing the first entry moves every other one up.
    if (project->Count() >= kComparedEntries) {
        return 0;
    }
    const std::string name(text.substr(0, std::min(text.find('\n'), text.size())));
    const int added = project->Add(name, true, kProjectBinary, "windows-1250");
    fuzz::Check(added == project->Count(), "an added entry comes last");
    fuzz::Check(project->Name(added) == name && project->IsOpen(added) && project->Type(added) == kProjectBinary
            && project->CodePage(added) == "windows-1250",
        "an added entry reads back");
    const TProject before = *project;
    project->Remove(1);
    fuzz::Check(project->Count() == before.Count() - 1, "removing takes one entry");
    CheckSameEntries(before, *project, 1);
    CheckInRange(*project);
    return 0;
}
