#include "cli/command.h"
#include "output/bmp.h"
#include "platform/file_system.h"

namespace qorvale::cli {

// Saves a 4- or 8-bit BMP picture as a GIF file with the program's own encoder.
int RunBmp2GifCommand(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("bmp2gif");
    if (Error error =
            output::BmpToGif(args.words[0], args.words[1], platform::SystemFileSystem())) {
        args.ui->report(error.message());
        return 1;
    }
    return 0;
}

}  // namespace qorvale::cli
