#include "app/OptionsModel.h"

void OptionsModel::setText(Option option, const QString& text)
{
    setEntry(option, m_values[option].state, text);
}

void OptionsModel::setState(Option option, int state)
{
    setEntry(option, state, m_values[option].text);
}

void OptionsModel::setEntry(Option option, int index, QString text)
{
    Value& value = m_values[option];
    if (value.state == index && value.text == text)
        return;
    value.state = index;
    value.text = text;
    emit changed(option);
    // A control that cannot show the value (a text too long for its field) has set and stored
    // what it shows instead. The output choices change in pairs and are stored once both have.
    if (value.state == index && value.text == text && option != ListOutput && option != FileOutput)
        store(option);
}

void OptionsModel::store(Option option)
{
    if (!m_store)
        return;
    const Value& value = m_values[option];
    QString stored;
    using OptionTable::Control;
    const Control control = OptionTable::row(option).control;
    if (control == Control::Text) {
        stored = value.text;
    } else if (control == Control::Check) {
        // The store counts 0 clear, 1 ticked, 2 greyed; Qt numbers the last two the other way.
        stored = QString::number(value.state == Qt::Checked ? 1
                : value.state == Qt::PartiallyChecked       ? 2
                                                            : 0);
    } else if (control == Control::Choice) {
        stored = value.state ? QStringLiteral("True") : QStringLiteral("False");
    } else if (option == Language) {
        // By its code: the entries are the languages installed, which packages add and remove.
        stored = value.text;
    } else {
        stored = QString::number(value.state);
    }
    ++m_stores;
    m_store(keyOf(option), stored);
}

void OptionsModel::restoreText(Option option, const QString& text)
{
    const int stores = m_stores;
    setText(option, text);
    if (m_stores == stores)
        store(option);
}

void OptionsModel::restoreCheck(Option option, int storedState)
{
    const int stores = m_stores;
    setState(option,
        storedState == 1       ? Qt::Checked
            : storedState == 2 ? Qt::PartiallyChecked
                               : Qt::Unchecked);
    if (m_stores == stores)
        store(option);
}

void OptionsModel::restoreIndex(Option option, int index)
{
    const int stores = m_stores;
    setState(option, index);
    if (m_stores == stores)
        store(option);
}

void OptionsModel::restoreChoice(Option option, bool selected)
{
    setState(option, selected ? 1 : 0);
    if (selected)
        setState(partnerOf(option), 0);
    if (option == FileOutput)
        storeChoices();
}

void OptionsModel::choose(Option option)
{
    setState(option, 1);
    setState(partnerOf(option), 0);
    storeChoices();
}

void OptionsModel::storeChoices()
{
    store(ListOutput);
    store(FileOutput);
}

QString OptionsModel::keyOf(Option option)
{
    return QLatin1String(OptionTable::row(option).key);
}
