#include "gui/side/side_controller.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <memory>

#include "app/app_folder.h"
#include "app/extract_variations.h"
#include "gui/shell/dialog_buttons.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "platform/file_system.h"

namespace qorvale::gui {

void SideController::Run(app::SideCommand command) {
    switch (command) {
        case app::SideCommand::OpenFromWeb:
            OpenFromWeb();
            return;
        case app::SideCommand::ExtractVariations:
            ExtractVariations();
            return;
    }
}

std::string SideController::DefaultDownloadFolder() const {
    return app::AppPath(app_folder(), "downloads");
}

void SideController::OpenFromWeb() {
    QDialog dialog(window().DialogParent());
    dialog.setObjectName(QStringLiteral("OpenFromWebBox"));
    dialog.setWindowTitle(tr("Open from Web Address"));
    auto* url = new QLineEdit(ToQString(last_url_), &dialog);
    url->setObjectName(QStringLiteral("Url"));
    url->setPlaceholderText(QStringLiteral("https://"));
    url->setMinimumWidth(420);
    auto* folder = new QLineEdit(
        ToQPath(last_folder_.empty() ? DefaultDownloadFolder() : last_folder_), &dialog);
    folder->setObjectName(QStringLiteral("Folder"));
    auto* browse = new QPushButton(tr("&Browse..."), &dialog);
    connect(browse, &QPushButton::clicked, &dialog, [&dialog, folder] {
        const QString chosen =
            QFileDialog::getExistingDirectory(&dialog, tr("Download Folder"), folder->text());
        if (!chosen.isEmpty()) folder->setText(chosen);
    });
    auto* folder_row = new QHBoxLayout;
    folder_row->addWidget(folder);
    folder_row->addWidget(browse);
    auto* limit = new QSpinBox(&dialog);
    limit->setObjectName(QStringLiteral("LimitMb"));
    limit->setRange(1, 1 << 20);
    limit->setSuffix(QStringLiteral(" MB"));
    limit->setValue(static_cast<int>(limit_mb_));
    auto* form = new QFormLayout;
    form->addRow(tr("&Web address:"), url);
    // A row holding a layout gets no buddy of its own: the label names the folder field.
    auto* folder_label = new QLabel(tr("Save &in folder:"), &dialog);
    folder_label->setBuddy(folder);
    form->addRow(folder_label, folder_row);
    form->addRow(tr("&Largest file:"), limit);
    QDialogButtonBox* buttons = OkCancelButtons(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return;

    last_url_ = url->text().trimmed().toStdString();
    last_folder_ = FromQPath(folder->text());
    limit_mb_ = limit->value();
    utilities::DownloadRequest request;
    request.url = last_url_;
    request.folder = last_folder_;
    request.limit_mb = limit_mb_;
    auto result = std::make_shared<utilities::DownloadResult>();
    // A refusal has already been shown.
    (void)context_.runner.Start(
        [&request, result](utilities::Worker& worker) {
            return utilities::StartDownload(worker, std::move(request), result);
        },
        [this, result](const utilities::WorkerOutcome&) {
            // The failure was the operation's message; the first file downloaded is opened.
            if (result->error.ok() && !result->files.empty()) {
                (void)window().OpenFile(result->files.front());
            }
        });
}

void SideController::ExtractVariations() {
    QDialog dialog(window().DialogParent());
    dialog.setObjectName(QStringLiteral("ExtractVariationsBox"));
    dialog.setWindowTitle(tr("Extract Variations"));
    auto* this_game = new QRadioButton(tr("Variations of &this game"), &dialog);
    this_game->setObjectName(QStringLiteral("ThisGame"));
    this_game->setChecked(true);
    auto* every_game = new QRadioButton(tr("Variations of &every game of the file"), &dialog);
    every_game->setObjectName(QStringLiteral("EveryGame"));
    auto* append = new QCheckBox(tr("&Add to the end of an existing file"), &dialog);
    append->setObjectName(QStringLiteral("Append"));
    QDialogButtonBox* buttons = OkCancelButtons(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(this_game);
    layout->addWidget(every_game);
    layout->addWidget(append);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return;

    const std::string target = ChooseCopyTarget();
    if (target.empty()) return;
    const pgn::PgnFile& file = session().File();
    app::ExtractVariationsRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets = file.Index().Offsets();
    request.game = every_game->isChecked() ? 0 : session().GameNumber();
    request.target = target;
    request.append = append->isChecked();
    Result<app::ExtractVariationsDone> done =
        app::ExtractVariations(request, ui(), platform::SystemFileSystem());
    if (!done.ok()) ui().explain(done.error());
}

}  // namespace qorvale::gui
