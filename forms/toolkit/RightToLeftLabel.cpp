#include "RightToLeftLabel.h"

#include <QPainter>
#include <QStyle>

namespace qimlar::toolkit {

void RightToLeftLabel::paintEvent(QPaintEvent* event)
{
    if (textFormat() == Qt::RichText || !pixmap().isNull() || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const int flags = QStyle::visualAlignment(layoutDirection(), alignment()) |
                      Qt::TextForceRightToLeft | (wordWrap() ? Qt::TextWordWrap : 0);
    style()->drawItemText(&painter,
                          contentsRect().adjusted(margin(), margin(), -margin(), -margin()), flags,
                          palette(), isEnabled(), text(), foregroundRole());
}

} // namespace qimlar::toolkit
