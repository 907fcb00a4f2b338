#pragma once

#include <cstdint>
#include <string>

#include "app/commands.h"
#include "gui/shell/controller.h"
#include "utilities/download.h"

class QWidget;

namespace qorvale::gui {

// Open from Web Address (a download on the worker, then the file opened) and Extract
// Variations.
class SideController final : public Controller {
    Q_OBJECT

  public:
    explicit SideController(ShellContext& context) : Controller(context) {}

    void Run(app::SideCommand command);

    // The folder downloads go to unless the user picks another: "downloads" in the install
    // folder.
    std::string DefaultDownloadFolder() const;

  private:
    void OpenFromWeb();
    void ExtractVariations();

    // What the download dialog showed last, offered again in this session.
    std::string last_url_;
    std::string last_folder_;
    std::int64_t limit_mb_ = utilities::DefaultDownloadLimitMb;
};

}  // namespace qorvale::gui
