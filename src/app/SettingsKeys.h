#pragma once

#include <QString>

// Where every option lives in the settings store, and the keys it is stored under.
namespace SettingsKeys {

inline const QString application = QStringLiteral("Quillmont");
inline const QString section = QStringLiteral("Tessavine");

inline const QString howMany = QStringLiteral("How Many");
inline const QString check1 = QStringLiteral("Check1");
inline const QString check2 = QStringLiteral("Check2");
inline const QString check3 = QStringLiteral("Check3");
inline const QString check4 = QStringLiteral("Check4");
inline const QString check5 = QStringLiteral("Check5");
inline const QString check6 = QStringLiteral("Check6");
inline const QString option7 = QStringLiteral("Option7");
inline const QString option8 = QStringLiteral("Option8");
inline const QString combo = QStringLiteral("Combo");
inline const QString nthLetter = QStringLiteral("Nth Letter");
inline const QString letterMustBe = QStringLiteral("Letter Must Be");
inline const QString startLetter = QStringLiteral("Start Letter");
inline const QString endLetter = QStringLiteral("End Letter");
inline const QString text6 = QStringLiteral("Text6");
inline const QString text2 = QStringLiteral("Text2");
inline const QString text5 = QStringLiteral("Text5");
inline const QString commonness = QStringLiteral("Commonness");
inline const QString kind = QStringLiteral("Kind");
inline const QString spelling = QStringLiteral("Spelling");
inline const QString leaveOutOffensive = QStringLiteral("Leave Out Offensive");
inline const QString lastFolderDot = QStringLiteral("LastFolderDot");

} // namespace SettingsKeys
