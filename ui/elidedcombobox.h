#ifndef ORV_UI_ELIDEDCOMBOBOX_H
#define ORV_UI_ELIDEDCOMBOBOX_H

#include <QComboBox>

// A drop-down list of the tool row: a long entry does not widen it (it asks
// for no more than its minimum width); the chosen entry is shown whole when
// it fits, otherwise cut at the end with "…"; the list it drops down is as
// wide as its longest entry.
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
