#ifndef ORV_UI_ELIDEDLABEL_H
#define ORV_UI_ELIDEDLABEL_H

#include <QLabel>
#include <QString>

// A one-line label of a course name: it asks for the width of its whole text
// but gives way down to nothing, and shows the text cut at the end with "…"
// when its place is narrower; text() and the tooltip are the whole text. A
// long name thus never widens the window beyond the screen.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // The text and the tooltip.
    void setFullText(const QString &text);

    QSize minimumSizeHint() const override;

    // The text as painted in the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // ORV_UI_ELIDEDLABEL_H
