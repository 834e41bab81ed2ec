#pragma once

#include "app/ListSource.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <memory>
#include <vector>

class WordSet;

// The generated words: one column, a check state per row, rows in the order they came.
class ResultListModel : public QAbstractTableModel, public ListSource
{
    Q_OBJECT
public:
    explicit ResultListModel(QObject* parent = nullptr);

    // The most characters of a row the list shows; a longer row ends in an ellipsis.
    static constexpr qsizetype shownCharacters = 300;
    // The most characters of a definition a tooltip shows, likewise.
    static constexpr qsizetype shownDefinitionCharacters = 1000;

    // Gives the list its one column.
    void setColumnHeader(const QString& header);

    void clear();
    // A row, and the word set row sourceRow of which it was drawn from: the row's tooltip is that
    // word's definition, looked up when it is shown, in the parts of speech the run asked for
    // (WordKind bits, 0 for any).
    void append(const QString& text, std::shared_ptr<const WordSet> source = nullptr,
        int sourceRow = 0, quint8 kinds = 0);
    // Removes row i (1-based).
    void remove(int row);
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);

    // While a batch is open, appended rows reach the views at most every 30 ms instead of one by
    // one: a view lays out all its rows for every insertion it is told of, so telling it of each
    // of many appends separately costs time that grows with the list.
    void beginBatch();
    void endBatch();
    // Tells the views of every row appended so far.
    void flush();

    // ListSource
    int rowCount() const override { return static_cast<int>(m_rows.size()); }
    int columnCount() const override { return m_header.isNull() ? 0 : 1; }
    QString headerText(int column) const override;
    QString cellText(int row, int column) const override;
    bool isChecked(int row) const override;

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row
    {
        QString text;
        std::shared_ptr<const WordSet> source;
        int sourceRow = 0;
        quint8 kinds = 0;
        bool checked = false;
    };
    const Row& at(int row) const;

    std::vector<Row> m_rows;
    // Rows the views have been told of; the rest are waiting for the next flush.
    int m_shown = 0;
    int m_batches = 0;
    QTimer m_flushTimer;
    QString m_header;
};
