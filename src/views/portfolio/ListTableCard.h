#pragma once

#include "views/kit/CardFrame.h"

#include <QStringList>
#include <vector>

class QListView;

namespace vantrell {

// The table of a list page: a card holding a header row of column titles, a divider and a
// list view whose rows a delegate paints (only the rows in view are painted).
class ListTableCard : public CardFrame {
    Q_OBJECT

public:
    struct Column {
        QString title;
        int width = 0;  // 0: the stretching first column
    };

    ListTableCard(const std::vector<Column>& columns, int columnSpacing, QWidget* parent = nullptr);

    QListView* list() const { return m_list; }

private:
    QListView* m_list;
};

}  // namespace vantrell
