#ifndef ORV_UI_ELIDEDBUTTON_H
#define ORV_UI_ELIDEDBUTTON_H

#include <QPushButton>
#include <QString>

// A push button of the room grid: it takes the width its column gives and
// shows its text whole when it fits, otherwise cut at the end with "…";
// text() is the whole text. A long course name thus never widens the grid
// beyond the left panel.
class ElidedButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ElidedButton(const QString &text, QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

    // The text as painted in the button's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // ORV_UI_ELIDEDBUTTON_H
