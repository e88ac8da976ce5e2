#pragma once

#include <QString>

namespace vorbix {

inline constexpr int VersionMajor = VORBIX_VERSION_MAJOR;
inline constexpr int VersionMinor = VORBIX_VERSION_MINOR;
inline constexpr int VersionRevision = VORBIX_VERSION_PATCH;

inline QString applicationTitle() { return QStringLiteral("Vorbix"); }

// The main window's title while it names this file.
inline QString mainWindowTitle(const QString& file) { return applicationTitle() + QStringLiteral(" - ") + file; }

// What a list is called until it is saved under a name of its own.
inline QString untitledFileName() { return QStringLiteral("Untitled.dic"); }

// "1.4.0": plain whole numbers, no sign blanks.
inline QString versionText()
{
    return QString::number(VersionMajor) + QLatin1Char('.') + QString::number(VersionMinor) + QLatin1Char('.')
        + QString::number(VersionRevision);
}

} // namespace vorbix
