#ifndef ORV_UI_ELIDEDBUTTON_H
#define ORV_UI_ELIDEDBUTTON_H

#include <QPushButton>
#include <QString>

// A push button of the room grid: it takes the width its column gives and
// shows its text whole when it fits, otherwise cut with "…": a course's
// title (setCourse) in the middle of its name, any other text at the end;
// text() is the whole text. A long course name thus never widens the grid
// beyond the left panel.
class ElidedButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ElidedButton(const QString &text, QWidget *parent = nullptr);

    // Reads "<code> – <name>" (CourseEntry), the same as its tooltip.
    void setCourse(const QString &code, const QString &name);

    QSize minimumSizeHint() const override;

    // The text as painted in the button's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The part of the text cut in the middle; empty for none.
    QString m_name;
};

#endif // ORV_UI_ELIDEDBUTTON_H
