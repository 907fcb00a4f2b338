#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

namespace qorvale::gui {

// The optional click played with every move on the board. Silent where the machine has no
// sound output.
class MoveSound : public QObject {
    Q_OBJECT

  public:
    // `file` is the sound in the install folder.
    MoveSound(const QString& file, QObject* parent);

    void SetEnabled(bool on) { enabled_ = on; }
    bool Enabled() const { return enabled_; }
    void Play();
    // How many times it was asked to sound while on, for tests.
    int Played() const { return played_; }

  private:
    QString file_;
    QSoundEffect* effect_ = nullptr;
    bool enabled_ = false;
    int played_ = 0;
};

}  // namespace qorvale::gui
