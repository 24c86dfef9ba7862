#ifndef COMMON_CONSTANTS_H
#define COMMON_CONSTANTS_H

// Read-only values shared by the whole server. Each is defined here, at
// namespace scope with internal linkage, so every including source file holds
// its own copy, built before main in the order below and never changed.
// The order is fixed: keep new values at the end.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

const QStringList AUTHORITY_NAME_LIST = {"Dovrena"};
const QStringList EXAM_MODE_LIST = {"Ôn tập theo từng tình huống", "Đề thi theo bộ câu hỏi",
                                    "Đề thi ngẫu nhiên"};
// A class's index here is the licence-class number sent to the terminals:
// "B11" stands before "B1" on purpose.
const QStringList RANK_LIST = {"B11", "B1", "B2", "C", "D", "E", "FB2", "FC", "FD", "FE"};
const QString MILESTONE_CONFIG_PATH = "./config/milestone.csv";
const QString CONTEST_STRUCTURE_CONFIG_PATH = "./config/contest_structure.csv";
const QString VIDEO_FOLDER = "./videos";
const QString TRANSLATION_FOLDER = "./translations/qm/a/n/2";
const QString PDF_FOLDER = "./pdf";
const QString VIDEO_EXTENSION = "mp4";
const QString CSV_EXTENSION = "csv";
const QString EXPRESSION_CONFIG_PATH = "./config/expression.csv";
const QString RANK_SCORE_CONFIG_PATH = "./config/rank_score.csv";
const QString RESULT_PASS = "DAT";
const QString RESULT_PASS_LABEL = "Đạt";
const QString RESULT_FAIL = "KHONG DAT";
const QString RESULT_FAIL_LABEL = "Không đạt";
const QStringList STUDY_MODE_LIST = {"Ôn tập", "Thi thử"};
const QByteArray HEADER_KEY_BYTES = QByteArray::fromHex("c8f30a6d1e5b9274a0d6e3c1b87f5a29");
const QString FLAG_ICON_PATH = ":/images/resources/images/flag.png";
const QString LEGAL_NOTICE = "Phần mềm chỉ dùng cho trung tâm sát hạch lái xe được cấp phép.";
const QString TH_PREFIX = "TH ";
const QString MYSQL_CONNECTION_NAME = "contest";
const QString AUX_CONNECTION_NAME = "aux_db";
const QString HOST_NAME = "HOST_NAME";
const QString PORT_NUMBER = "PORT_NUMBER";
const QString MYSQL_DB_NAME = "MYSQL_DB_NAME";
const QString MYSQL_USERNAME = "MYSQL_USERNAME";
const QString MYSQL_PASS = "MYSQL_PASS";
const QString DEFAULT_HOST_NAME = "127.0.0.1";
const QString DEFAULT_DB_NAME = "orv";
const QString DEFAULT_USERNAME = "root";
const QString DEFAULT_PASSWORD = "570913";
const QString SQLITE_CONNECTION_NAME = "orv-sqlite";
const QString SQLITE_DB_NAME = "orv.db";
const QString MYSQL_CONFIG_PATH = "./config/connection_mysql.csv";
const QString AUX_MYSQL_CONFIG_PATH = "./config/aux_connection_mysql.csv";
const QString TCP_CONFIG_PATH = "./config/connection_tcp.csv";
const QString RUN_MODE_CONFIG_PATH = "./config/run_mode.csv";
const QString NDSH_CONFIG_PATH = "./config/NDSH.json";
const QString AUTO_PRINT = "AUTO_PRINT";
const QString AUTO_UPDATE_RESULT_OF_FRIEND_DB = "AUTO_UPDATE_RESULT_OF_FRIEND_DB";
const QString CHECK_PASSING_THEORY = "CHECK_PASSING_THEORY";
const QString AVATAR_CONFIG_PATH = "./config/avatar_config.csv";
const QString IMPORT_AVATAR_FOLDER_ON = "IMPORT_AVATAR_FOLDER_ON";
const QStringList PASS_RESULT_LIST = {"DAT", "ĐẠT"};
const QStringList FAIL_RESULT_LIST = {"KHONG DAT", "KHÔNG ĐẠT"};
const QString HEADER_KEY_TEXT = "5e0b7a3c9d21f846e0c5b8a17d3f29e6c40b1a";
const QString USER_ICON_PATH = ":/images/resources/user_icon.svg";
const QString PASSWORD_ICON_PATH = ":/images/resources/password_icon.svg";
const QString ADMINISTRATOR_ICON_PATH = ":/images/resources/images/administrator.png";
const QString FORGOT_PASSWORD_LINK = "<a href=\"whatever\">Quên mật khẩu?</a>";
const QString MSG_WRONG_ORDER_NUMBER = "Số báo danh không đúng";
const QString MSG_STUDENT_EXAMINED = "Thí sinh đã thi";
const QString MSG_STUDENT_IN_EXAM = "Thí sinh đang thi";
const QString MSG_NO_SIMULATION_TEST = "Thí sinh không phải thi mô phỏng";
const QString MSG_REVIEW_NOT_SUPPORTED = "Thí sinh không hỗ trợ xem lại";
const QString MSG_ERROR_TRY_AGAIN = "Có lỗi xin vui lòng thử lại";
const QString MSG_RESULT_CHANGED = "Kết quả thi đã bị thay đổi";
const QString MSG_STUDENT_NOT_EXAMINED = "Thí sinh chưa thi";
const QString MSG_THEORY_NOT_PASSED = "Thí sinh chưa thi đỗ sát hạch lý thuyết";
const QString MSG_PLEASE_WAIT = "Xin đợi trong giây lát";
const QString MSG_LOADING_EXAM = "Đang tải bài thi";
const QString MSG_LOADING_LESSON = "Đang tải bài học";
const QMap<QString, int> RANK_INDEX_MAP = {{"B11", 0}, {"B1", 1}, {"B2", 2}, {"C", 3},  {"D", 4},
                                           {"E", 5},   {"FB2", 6}, {"FC", 7}, {"FD", 8}, {"FE", 9}};
const QString PRACTICE_SOFTWARE_TITLE = "Ostrel";
const QString EXAM_SOFTWARE_TITLE = "Brannock";
const QString ADMIN_SOFTWARE_TITLE = "Taskveld";
const QStringList GENDER_LIST = {"M", "F"};
// Element i labels course state i + 1.
const QStringList COURSE_STATE_LIST = {"Chưa thi", "Đang thi", "Đã thi"};
const QStringList RESULT_FILTER_LIST = {"Tất cả", "Đạt", "Không đạt", "Vắng/Chưa thi", "Đang thi"};
const QStringList RESULT_CODE_LIST = {"", "DAT", "KHONG DAT", "VANG"};
const QString INVALID_ID = "-1";
// Exam contents whose candidates take no simulation test; compared as text.
const QStringList NO_SIMULATION_CONTENT_LIST = {"5", "6", "7", "8"};
const QString LOG_ENTER_FUNCTION = "Enter function!";
const QString LOG_FINISH_FUNCTION = "Finish function!";
const QString MSG_PROVINCE_IN_USE = "Tồn tại đơn vị sử dụng tỉnh";
const QString MSG_SQL_ERROR = "Lỗi thực hiện SQL";
const QString MSG_UNIT_IN_USE = "Tồn tại khóa học sử dụng đơn vị";
const QString MSG_COURSE_IN_EXAM = "Khóa học đang thi";

#endif // COMMON_CONSTANTS_H
