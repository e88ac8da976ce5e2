#pragma once

#include "state/SpellingDifference.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QStyledItemDelegate>

#include <vector>

namespace vorbix {

// One pair of the list with what the record knows of it.
struct PairRow {
    QString known;
    QString unknown;
    int asked = 0;
    int right = 0;
    QDateTime lastAsked;
    bool answered = false; // a last answer is known
    bool timedOut = false;
    QString given; // the last answer
    std::vector<DiffPart> difference; // of the last answer against its right one
};

// The pairs as a table; Qt::UserRole gives each column's sort key, so that
// a proxy sorts numbers as numbers and pairs never asked come last.
class PairTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Known, Unknown, Asked, Right, LastAsked, LastAnswer, ColumnCount };
    static constexpr int DifferenceRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;
    void setRows(std::vector<PairRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The last answer in words: what was given, then how it differs.
    static QString spokenAnswer(const PairRow& row);

private:
    std::vector<PairRow> rows_;
};

// Paints the last answer with its marks (DifferenceRole); other columns as usual.
class DifferenceDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace vorbix

Q_DECLARE_METATYPE(std::vector<vorbix::DiffPart>)
