#include "platform/XlsxSpreadsheetLauncher.h"

#include "platform/XlsxSpreadsheetApplication.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

bool hasDefaultApplicationForXlsx()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime,
        { QStringLiteral("query"), QStringLiteral("default"),
            QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet") });
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
        && !query.readAllStandardOutput().trimmed().isEmpty();
}

// The command that opens a workbook, its path still to be added; empty when there is none.
QStringList findLaunchCommand()
{
    const QString configured = qEnvironmentVariable("TESSAVINE_SPREADSHEET");
    if (!configured.trimmed().isEmpty())
        return QProcess::splitCommand(configured);
    for (const QString& name : { QStringLiteral("soffice"), QStringLiteral("libreoffice") }) {
        const QString calc = QStandardPaths::findExecutable(name);
        // -n opens the file as a new, untitled document: the user saves it where they choose.
        if (!calc.isEmpty())
            return { calc, QStringLiteral("--calc"), QStringLiteral("-n") };
    }
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!xdgOpen.isEmpty() && hasDefaultApplicationForXlsx())
        return { xdgOpen };
    return {};
}

}

std::unique_ptr<SpreadsheetApplication> XlsxSpreadsheetLauncher::start()
{
    QStringList command = findLaunchCommand();
    if (command.isEmpty())
        return nullptr;
    return std::make_unique<XlsxSpreadsheetApplication>(std::move(command),
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
            + QStringLiteral("/exports"));
}
