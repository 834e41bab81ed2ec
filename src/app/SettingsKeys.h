#pragma once

#include <QString>

// Where every option lives in the settings store; the options' own keys are in the option table.
namespace SettingsKeys {

inline const QString application = QStringLiteral("Quillmont");
inline const QString section = QStringLiteral("Tessavine");
inline const QString lastFolderDot = QStringLiteral("LastFolderDot");

} // namespace SettingsKeys
