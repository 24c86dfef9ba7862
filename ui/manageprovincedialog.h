#ifndef ORV_UI_MANAGEPROVINCEDIALOG_H
#define ORV_UI_MANAGEPROVINCEDIALOG_H

#include "ui/managerecorddialog.h"

#include <QList>

class AddProvinceDialog;
class Province;
class ProvinceModel;

namespace Ui {
class ManageProvinceDialog;
}

// The operator's list of exam councils (provinces): add, rename and delete.
class ManageProvinceDialog : public ManageRecordDialog
{
    Q_OBJECT

public:
    static const int DeleteCode = 7;

    explicit ManageProvinceDialog(QWidget *parent = nullptr);
    ~ManageProvinceDialog() override;

    void updateProvince(const Province &province, int row);

public slots:
    void onInsertProvinceFromDB();

private slots:
    void onUpdateProvinceTable();

private:
    void loadList() override;
    int listSize() const override;
    QString idAt(int row) const override;
    void openForCreate() override;
    void openForEdit(int row) override;
    SqlResultInfo deleteById(const QString &id) override;
    void takeAdded() override;
    void takeChanged(int row) override;
    QString editedId() const override;

    Ui::ManageProvinceDialog *ui;
    ProvinceModel *m_model = nullptr;
    AddProvinceDialog *m_editor = nullptr;
    QList<Province *> *m_provinces = nullptr;
};

#endif // ORV_UI_MANAGEPROVINCEDIALOG_H
