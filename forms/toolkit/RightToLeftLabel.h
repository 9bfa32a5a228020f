#pragma once

#include <QLabel>

namespace qimlar::toolkit {

// A label whose plain text is always laid out right to left, like the sentence it ends, whatever
// its own first letter: "mp3." shows as .mp3, its full stop at the left end. A plain label lays
// such a text out left to right, since it begins with a Latin letter.
class RightToLeftLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qimlar::toolkit
