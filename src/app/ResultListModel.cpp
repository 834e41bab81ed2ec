#include "app/ResultListModel.h"

#include "engine/PlatformError.h"
#include "engine/WordStore.h"

namespace {

// The text cut to at most that many characters, ending in an ellipsis when cut.
QString shortened(const QString& text, qsizetype characters)
{
    if (text.size() <= characters)
        return text;
    return QStringView(text).left(characters).toString() + QChar(0x2026);
}

} // namespace

ResultListModel::ResultListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(30);
    connect(&m_flushTimer, &QTimer::timeout, this, &ResultListModel::flush);
}

void ResultListModel::beginBatch()
{
    ++m_batches;
}

void ResultListModel::endBatch()
{
    if (m_batches > 0 && --m_batches == 0)
        flush();
}

void ResultListModel::flush()
{
    m_flushTimer.stop();
    const int total = rowCount();
    if (m_shown >= total)
        return;
    beginInsertRows(QModelIndex(), m_shown, total - 1);
    m_shown = total;
    endInsertRows();
}

void ResultListModel::setColumnHeader(const QString& header)
{
    const bool hadColumn = columnCount() > 0;
    if (!hadColumn)
        beginInsertColumns(QModelIndex(), 0, 0);
    m_header = header.isNull() ? QLatin1String("") : header;
    if (!hadColumn)
        endInsertColumns();
    else
        emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ResultListModel::clear()
{
    if (m_rows.empty())
        return;
    m_flushTimer.stop();
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_shown = 0;
    endResetModel();
}

void ResultListModel::append(
    const QString& text, std::shared_ptr<const WordSet> source, int sourceRow, quint8 kinds)
{
    m_rows.push_back(Row { text, std::move(source), sourceRow, kinds });
    if (m_batches == 0)
        flush();
    else if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void ResultListModel::remove(int row)
{
    at(row);
    flush();
    beginRemoveRows(QModelIndex(), row - 1, row - 1);
    m_rows.erase(m_rows.begin() + (row - 1));
    --m_shown;
    endRemoveRows();
}

void ResultListModel::setChecked(int row, bool checked)
{
    at(row);
    flush();
    m_rows[size_t(row - 1)].checked = checked;
    const QModelIndex changed = index(row - 1, 0);
    emit dataChanged(changed, changed, { Qt::CheckStateRole });
}

void ResultListModel::setAllChecked(bool checked)
{
    flush();
    for (Row& row : m_rows)
        row.checked = checked;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), { Qt::CheckStateRole });
}

QString ResultListModel::headerText(int column) const
{
    if (column != 1 || columnCount() == 0)
        throw PlatformError(QStringLiteral("Index out of bounds"));
    return m_header;
}

QString ResultListModel::cellText(int row, int column) const
{
    const Row& r = at(row);
    if (column != 1)
        throw PlatformError(QStringLiteral("Index out of bounds"));
    return r.text;
}

bool ResultListModel::isChecked(int row) const
{
    return at(row).checked;
}

const ResultListModel::Row& ResultListModel::at(int row) const
{
    if (row < 1 || row > rowCount())
        throw PlatformError(QStringLiteral("Index out of bounds"));
    return m_rows[size_t(row - 1)];
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int ResultListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCount();
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    const Row& row = m_rows[size_t(index.row())];
    if (role == Qt::DisplayRole) {
        // Laying out a word of megabytes at every repaint would freeze the window; the row keeps
        // the whole word for the exports.
        return shortened(row.text, shownCharacters);
    }
    if (role == Qt::CheckStateRole)
        return row.checked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole && row.source) {
        // A look-up that fails costs the row its tooltip, nothing more.
        try {
            const QString definition = row.source->definition(row.sourceRow, row.kinds);
            // A learner tells a translation from a definition.
            if (!definition.isEmpty())
                return (row.source->definitionsTranslate() ? QStringLiteral("Translation: ")
                                                           : QString())
                    + shortened(definition, shownDefinitionCharacters);
        } catch (const std::exception&) { }
    }
    return {};
}

bool ResultListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.row() >= m_shown)
        return false;
    m_rows[size_t(index.row())].checked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, { Qt::CheckStateRole });
    return true;
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
        | Qt::ItemNeverHasChildren;
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole
        && columnCount() > 0)
        return m_header;
    return QAbstractTableModel::headerData(section, orientation, role);
}
