#pragma once

#include "FakePlatform.h"
#include "TestFiles.h"

#include "app/ResultListModel.h"
#include "window/Form1.h"

#include <QPushButton>
#include <QtTest>

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
