#include "cli/command.h"
#include "utilities/yahoo_conversion.h"

namespace qorvale::cli {

// Converts the Yahoo games of IN (a text file) and appends them to OUT, each with the default
// header (Event "Yahoo!", Result "*"), as the window does when the results are not set.
int RunYahooCommand(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("yahoo");
    utilities::YahooRequest request;
    request.target_path = args.words[1];
    const utilities::YahooResult result =
        utilities::ConvertYahooFile(args.words[0], request, *args.ui, nullptr);
    if (!result.error.ok()) return 1;
    if (result.converted == 0) {
        args.ui->report(args.words[0] + " holds no Yahoo game.");
        return 1;
    }
    return 0;
}

}  // namespace qorvale::cli
