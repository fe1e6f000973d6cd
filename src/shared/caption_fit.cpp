#include "shared/caption_fit.h"

#include "shared/form.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <algorithm>

namespace tomarina {

void fit_captions(std::initializer_list<QAbstractButton*> row, int gap_twips) {
    int free_from = 0;
    for (QAbstractButton* b : row) {
        b->setGeometry(std::max(b->x(), free_from), b->y(), std::max(b->width(), b->sizeHint().width()),
                       b->height());
        free_from = b->geometry().right() + 1 + twips_to_px(gap_twips);
    }
}

int fit_below_caption(QGroupBox* frame) {
    const QList<QWidget*> inside = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    int top = frame->height();
    for (const QWidget* c : inside) top = std::min(top, c->y());
    const int drop = frame->contentsRect().top() - top;
    if (drop <= 0) return 0;
    for (QWidget* c : inside) c->move(c->x(), c->y() + drop);
    if (QWidget* window = frame->parentWidget()) {
        const int below = frame->geometry().bottom();
        for (QWidget* c : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (c != frame && c->y() > below) c->move(c->x(), c->y() + drop);
    }
    frame->resize(frame->width(), frame->height() + drop);
    return drop;
}

} // namespace tomarina
