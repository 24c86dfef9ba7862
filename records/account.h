#ifndef RECORDS_ACCOUNT_H
#define RECORDS_ACCOUNT_H

#include <QString>

// One taikhoan row, built from its first four columns by position.
class Account
{
public:
    // Role: 2 administrator, 3 super-administrator.
    Account(const QString &idTaiKhoan, const QString &second, int role, const QString &password)
        : m_IDTaiKhoan(idTaiKhoan), m_second(second), m_role(role), m_password(password)
    {
    }

    QString getIDTaiKhoan() const { return m_IDTaiKhoan; }
    int getRole() const { return m_role; }
    // The lowercase hexadecimal MD5 digest of the password.
    QString getPassword() const { return m_password; }

private:
    QString m_IDTaiKhoan;
    QString m_second; // kept, never read
    int m_role;
    QString m_password;
};

#endif // RECORDS_ACCOUNT_H
