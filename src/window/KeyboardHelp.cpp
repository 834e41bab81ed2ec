#include "window/KeyboardHelp.h"

#include "app/GenerationRun.h"
#include "window/Form1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace KeyboardHelp {

namespace {

    QString resourceText(const QString& name)
    {
        QFile file(QStringLiteral(":/") + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The version, the licence and where the word list comes from.
    QString aboutText()
    {
        const QString copyright = QDir::cleanPath(QCoreApplication::applicationDirPath()
            + QLatin1Char('/') + QStringLiteral(TESSAVINE_COPYRIGHT_FROM_PROGRAM));
        return QStringLiteral(
            "Tessavine %1\n\n"
            "Produces lists of random English words.\n"
            "Copyright (c) 2026 The Tessavine developers, under the MIT licence.\n\n"
            "The word list is derived from SCOWL by Kevin Atkinson, through Debian's "
            "wamerican package.\n\n"
            "Both notices in full are under Show Details%2.")
            .arg(QStringLiteral(TESSAVINE_VERSION),
                QFileInfo(copyright).isFile() ? QStringLiteral(", and in ") + copyright
                                              : QString());
    }

    // The program's licence and the word list's notice, in full.
    QString notices()
    {
        return resourceText(QStringLiteral("LICENSE")) + QLatin1Char('\n')
            + resourceText(QStringLiteral("wordlist-copyright"));
    }

    // Return or Enter presses a focused command button, as Space does. Qt leaves it to buttons that
    // may become a dialog's default, which would draw the focused one framed as the default.
    class ReturnPresses : public QObject
    {
    public:
        using QObject::QObject;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() != QEvent::KeyPress)
                return false;
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool returnKey = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (!returnKey || (key->modifiers() & ~Qt::KeypadModifier))
                return false;
            // Held down, it would start and stop a run over and over.
            if (!key->isAutoRepeat())
                static_cast<QPushButton*>(watched)->click();
            return true;
        }
    };

} // namespace

void install(Form1& form)
{
    auto* returnPresses = new ReturnPresses(&form);
    for (QPushButton* button : form.findChildren<QPushButton*>())
        button->installEventFilter(returnPresses);

    auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), &form);
    QObject::connect(stop, &QShortcut::activated, &form, [&form] {
        // Only a running generation is stopped: a press of the button at rest would start one.
        if (form.PushButton1->text() == GenerationRun::stopCaption())
            form.PushButton1->click();
    });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), &form);
    QObject::connect(help, &QShortcut::activated, &form, [&form] {
        form.platform().dialogs->about(
            &form, aboutText(), notices(), QStringLiteral("About Tessavine"));
    });
}

} // namespace KeyboardHelp
