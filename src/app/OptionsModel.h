#pragma once

#include "engine/OptionTable.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

// Every option the window shows, as the commands and the status line read it: a text, a check
// state, a selected choice or a list's chosen entry. The window keeps it in step with its
// controls both ways; each change is written to the settings store, and listeners hear of it.
class OptionsModel : public QObject, public OptionIds
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The options are those of the window in the option table, named as it names them.
    QString text(Option option) const { return m_values[option].text; }
    // The check state, 1 for a selected choice, or the chosen entry's index.
    int state(Option option) const { return m_values[option].state; }
    // A tick box counts as ticked only when it is fully ticked.
    bool ticked(Option option) const { return state(option) == Qt::Checked; }
    bool unticked(Option option) const { return state(option) == Qt::Unchecked; }
    bool chosen(Option option) const { return state(option) != 0; }

    void setText(Option option, const QString& text);
    void setState(Option option, int state);
    void setEntry(Option option, int index, QString text);

    // Where changes are stored, under the option's key; nothing is stored before it is given.
    using Store = std::function<void(const QString& key, const QString& value)>;
    void setStore(Store store) { m_store = std::move(store); }
    void store(Option option);

    // Start-up: restoring a value stores it, also when the option already had it. The two output
    // choices exclude each other; they are stored as a pair once the second has been restored,
    // so that storing the first does not overwrite the second before it is read.
    void restoreText(Option option, const QString& text);
    // The check state as the store counts it: 0 clear, 1 ticked, 2 greyed.
    void restoreCheck(Option option, int storedState);
    void restoreIndex(Option option, int index);
    void restoreChoice(Option option, bool selected);
    // Selects one output choice, as a click does: its partner is switched off and both are stored.
    void choose(Option option);

    static QString keyOf(Option option);

signals:
    void changed(OptionsModel::Option option);

private:
    struct Value
    {
        QString text;
        int state = 0;
    };
    static Option partnerOf(Option choice)
    {
        return choice == ListOutput ? FileOutput : ListOutput;
    }
    void storeChoices();

    std::array<Value, WindowOptionCount> m_values;
    Store m_store;
    // Counts the values stored, so that a restore knows whether its value was.
    int m_stores = 0;
};
