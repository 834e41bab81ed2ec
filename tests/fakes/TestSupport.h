#pragma once

#include "FakePlatform.h"

#include "app/ResultListModel.h"
#include "window/Form1.h"

#include <QFile>
#include <QPushButton>
#include <QtTest>

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The settings writes as "key=value", in order.
inline QStringList writeLog(const FakeSettings& settings)
{
    QStringList log;
    for (const auto& [key, value] : settings.writes)
        log << key + "=" + value;
    return log;
}

// A loaded window whose list holds the given words, with the given rows (1-based) ticked; what
// start-up showed and how often it yielded is forgotten.
struct LoadedWindow
{
    FakePlatform fake;
    Form1 form { fake.platform };

    bool load(const QStringList& words, const QList<int>& ticked = {})
    {
        if (!form.Form_Load())
            return false;
        for (const QString& word : words)
            form.resultList()->append(word);
        for (int row : ticked)
            form.resultList()->setChecked(row, true);
        fake.dialogs.entries.clear();
        fake.pump.calls = 0;
        return true;
    }

    // Pointer back to default and "Clear Results" enabled.
    bool idle() const
    {
        return form.mousePointer() == Form1::PointerDefault && form.PushButton4->isEnabled();
    }
};
