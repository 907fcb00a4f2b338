#include "gui/shell/move_sound.h"

#include <QSoundEffect>
#include <QUrl>

namespace qorvale::gui {

MoveSound::MoveSound(const QString& file, QObject* parent) : QObject(parent), file_(file) {}

void MoveSound::Play() {
    if (!enabled_) return;
    ++played_;
    // Made on first use: most users never switch the sound on.
    if (effect_ == nullptr) {
        effect_ = new QSoundEffect(this);
        effect_->setSource(QUrl::fromLocalFile(file_));
        effect_->setVolume(0.5);
    }
    effect_->play();
}

}  // namespace qorvale::gui
