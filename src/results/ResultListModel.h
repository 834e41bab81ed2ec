#pragma once

#include "results/ListSource.h"

#include <QAbstractTableModel>
#include <vector>

// The generated words: one column, a check state per row, rows in the order they came.
class ResultListModel : public QAbstractTableModel, public ListSource
{
    Q_OBJECT
public:
    explicit ResultListModel(QObject* parent = nullptr);

    // Gives the list its one column.
    void setColumnHeader(const QString& header);

    void clear();
    void append(const QString& text);
    // Removes row i (1-based).
    void remove(int row);
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);

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
        bool checked = false;
    };
    const Row& at(int row) const;

    std::vector<Row> m_rows;
    QString m_header;
};
