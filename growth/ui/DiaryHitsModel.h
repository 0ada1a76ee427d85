#pragma once

#include "common/Result.h"
#include "data/ui/IdListModel.h"

#include <QList>
#include <QString>

class PagedQuery;

// The hits of a diary search: date, weather and title of each entry, centred, with the entry's
// id kept for finding it again.
class DiaryHitsModel : public IdListModel
{
    Q_OBJECT

public:
    struct Hit
    {
        qint64 id;
        QString date;
        QString weather;
        QString title;
    };

    explicit DiaryHitsModel(QObject* parent = nullptr);

    // The columns a search reads for the list, in the order fill() takes them.
    static QStringList columns();
    // Replaces the hits with every row of a query that reads columns().
    Result fill(PagedQuery query);
    void clear();
    // Shows an entry's hit as it reads now, if it is listed.
    void update(const Hit& hit);
    const Hit& hit(int row) const { return m_hits.at(row); }
    qint64 idAt(int row) const override { return m_hits.at(row).id; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Hit> m_hits;
};
