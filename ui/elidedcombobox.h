#ifndef ORV_UI_ELIDEDCOMBOBOX_H
#define ORV_UI_ELIDEDCOMBOBOX_H

#include <QComboBox>

// A drop-down list of course names: the chosen entry is shown whole when it
// fits, otherwise cut at the end with "…" (with a size adjust policy of
// AdjustToMinimumContentsLength a long entry does not widen the box); the
// list it drops down is as wide as its longest entry but never wider than
// the screen, and an entry that does not fit it ends in "…", the chosen one
// with its check mark too.
class ElidedComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ElidedComboBox(QWidget *parent = nullptr);

    void showPopup() override;

    // The chosen entry as painted in the present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // ORV_UI_ELIDEDCOMBOBOX_H
