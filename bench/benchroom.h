#ifndef BENCH_BENCHROOM_H
#define BENCH_BENCHROOM_H

// What the benchmarks that fill a room with terminals share: the course C1
// of N candidates waiting to sit (entry, person and order number i for the
// i-th), the score the i-th sends, and a gate that lets every terminal's
// thread go on together.

#include <QChar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <condition_variable>
#include <mutex>

namespace BenchRoom {

// The score terminal `order` sends: some pass, some fail.
inline int scoreOf(int order)
{
    return 30 + order % 20;
}

// Opens once; every waiting thread goes on together.
class Gate
{
public:
    void wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
    }
    void open()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

// Course C1, running, named `courseName`, with `candidates` entries that
// have not started, as the operator's import leaves them.
inline bool seed(QSqlDatabase db, const QString &courseName, int candidates, QString *error)
{
    QSqlQuery q(db);
    q.prepare("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, NgayThi, TrangThai) "
              "VALUES ('C1', :name, CURDATE(), 2)");
    q.bindValue(":name", courseName);
    if (!q.exec()) {
        *error = q.lastError().text();
        return false;
    }
    db.transaction();
    QSqlQuery person(db);
    person.prepare("INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) "
                   "VALUES (:id, :name, '1990-01-01', :number)");
    QSqlQuery entry(db);
    entry.prepare("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, "
                  "LoaiBang, DiemMoPhong, DiemChuanMoPhong) VALUES (:id, 'C1', :id, :order, 0, '1', 'B2', -1, 35)");
    for (int i = 1; i <= candidates; ++i) {
        person.bindValue(":id", i);
        person.bindValue(":name", QString("Thí sinh %1").arg(i));
        person.bindValue(":number", QString("%1").arg(i, 12, 10, QChar('0')));
        entry.bindValue(":id", i);
        entry.bindValue(":order", QString::number(i));
        if (!person.exec() || !entry.exec()) {
            *error = person.lastError().text() + entry.lastError().text();
            return false;
        }
    }
    return db.commit();
}

} // namespace BenchRoom

#endif // BENCH_BENCHROOM_H
