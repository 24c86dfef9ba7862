#ifndef ORV_UI_ELIDEDCOMBOBOX_H
#define ORV_UI_ELIDEDCOMBOBOX_H

#include <QComboBox>

// A drop-down list whose entries may be longer than the box: the chosen
// entry is shown whole when it fits, otherwise cut with "…" (with a size
// adjust policy of AdjustToMinimumContentsLength a long entry does not widen
// the box), and its tooltip is then the whole entry; the list it drops down
// is as wide as its longest entry but never wider than the screen, and an
// entry that does not fit it ends in "…", the chosen one with its check mark
// too. A course's entry (addCourse) reads "<code> – <name>" and is cut in
// the middle of its name (CourseEntry), any other at the end.
class ElidedComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ElidedComboBox(QWidget *parent = nullptr);

    // Appends the course's entry, `mark` after its name; the entry's data
    // is the code, its tooltip the whole entry.
    void addCourse(const QString &code, const QString &name, const QString &mark = QString());

    void showPopup() override;

    // The chosen entry as painted in the present width.
    QString shownText() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The list's delegate as the style drops the list down.
    void useElidingDelegate();
};

#endif // ORV_UI_ELIDEDCOMBOBOX_H
