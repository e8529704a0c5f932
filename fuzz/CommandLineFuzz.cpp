// The command line: any argument list (NUL-separated in the input) completes
// and runs its switches and file names without crashing; every file asked for
// comes from the list, and every code page index is one of the list's.
#include "FuzzSupport.h"
#include "app/CommandLine.h"
#include "app/DocumentOpener.h"
#include "core/CodePages.h"

#include <algorithm>

using namespace quillet;

namespace {

class TCollectingOpener : public IDocumentOpener {
public:
    bool CreateMDIChild(const TOpenRequest& request) override
    {
        requests.push_back(request);
        return requests.size() % 3 != 0; // some opens fail
    }
    std::vector<TOpenRequest> requests;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> items = fuzz::SplitAtNul(fuzz::Bytes(data, size));
    if (items.size() > 256) {
        items.resize(256);
    }
    const std::string startDirectory = MakeStartDirectory(items.empty() ? "" : items.front());
    const std::vector<std::string> arguments = BuildArgumentList(items, startDirectory);
    fuzz::Check(arguments.size() == items.size(), "one argument per item");
    SwitchPassed(arguments, "hex");
    SwitchPassed(arguments, "removefromregistry");

    TArgumentRun run({GetCPFromID, GetCPIndex, GetDefaultCP});
    TCollectingOpener opener;
    run.OtevriDosleSoubory(arguments, opener);
    for (const TOpenRequest& request : opener.requests) {
        fuzz::Check(std::find(arguments.begin(), arguments.end(), request.fileName) != arguments.end(),
            "only listed files are opened");
        fuzz::Check(request.codePageIndex >= 0 && request.codePageIndex < kCodePageCount, "a listed code page");
    }
    return 0;
}
