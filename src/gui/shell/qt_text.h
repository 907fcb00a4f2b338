#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

#include "base/text.h"

namespace qorvale::gui {

// Text from the program's files and messages for the screen: UTF-8 when it is valid UTF-8,
// else Latin-1.
inline QString ToQString(std::string_view text) {
    if (IsValidUtf8(text)) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A path chosen in a dialog as the file system spells it.
inline std::string FromQPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
// A path of the file system for the screen.
inline QString ToQPath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace qorvale::gui
