#include "gui/help/help_controller.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/shell/qt_text.h"

namespace qorvale::gui {

HelpController::HelpController(ShellContext& context, QString manual_folder)
    : Controller(context), manual_folder_(std::move(manual_folder)) {}

void HelpController::Run(app::HelpCommand command) {
    switch (command) {
        case app::HelpCommand::Manual:
            ShowManual();
            return;
        case app::HelpCommand::About:
            QMessageBox::about(
                window().DialogParent(), tr("About Qorvale"),
                tr("<h3>Qorvale %1</h3><p>A chess game database: play through, search, classify "
                   "and keep your games in PGN files.</p><p>Free software under the GNU General "
                   "Public License, version 3 or later. The piece sets and data files keep the "
                   "licences listed beside them.</p>")
                    .arg(QApplication::applicationVersion()));
            return;
    }
}

void HelpController::ShowManual(const QString& page) {
    if (manual_window_ == nullptr) {
        manual_window_ = new QWidget(window().DialogParent(), Qt::Window);
        manual_window_->setObjectName(QStringLiteral("ManualWindow"));
        manual_window_->setWindowTitle(tr("Qorvale Manual"));
        manual_view_ = new QTextBrowser(manual_window_);
        manual_view_->setObjectName(QStringLiteral("ManualView"));
        manual_view_->setOpenExternalLinks(true);
        manual_view_->setSearchPaths({manual_folder_});
        auto* back = new QPushButton(tr("&Back"), manual_window_);
        auto* contents = new QPushButton(tr("&Contents"), manual_window_);
        connect(back, &QPushButton::clicked, manual_view_, &QTextBrowser::backward);
        connect(manual_view_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        back->setEnabled(false);
        connect(contents, &QPushButton::clicked, this, [this] { ShowManual(); });
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(back);
        buttons->addWidget(contents);
        buttons->addStretch(1);
        auto* layout = new QVBoxLayout(manual_window_);
        layout->addLayout(buttons);
        layout->addWidget(manual_view_);
        manual_window_->resize(820, 900);
    }
    const QString file = QDir(manual_folder_).filePath(page);
    manual_view_->setSource(QUrl::fromLocalFile(file), QTextDocument::MarkdownResource);
    manual_window_->show();
    manual_window_->raise();
    manual_window_->activateWindow();
}

}  // namespace qorvale::gui
