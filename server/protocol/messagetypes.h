#ifndef SERVER_PROTOCOL_MESSAGETYPES_H
#define SERVER_PROTOCOL_MESSAGETYPES_H

#include <QtGlobal>

// Type byte of each terminal message, as the terminals know them.
const quint8 MSG_START_SYNC_VIDEO = 1;
const quint8 MSG_SYNC_VIDEO = 2;
const quint8 MSG_END_SYNC_VIDEO = 3;
const quint8 MSG_CONTEST_ENTER = 4;
const quint8 MSG_ENTER_RESPONSE = 5;
const quint8 MSG_CONTEST_RESULT = 6;
const quint8 MSG_INFO_CONFIRM = 7;
const quint8 MSG_CONTEST_NAME = 8;
const quint8 MSG_REVIEW = 9;
const quint8 MSG_AUTHEN_STATE_ONE = 10;
const quint8 MSG_AUTHEN_STATE_TWO = 11;

// A frame type of this value or more carries an encrypted payload; 100 to 103
// are the encrypted forms of 4 to 7.
const quint8 MIN_ENCRYPTED_TYPE = 100;
const quint8 MSG_CONTEST_ENTER_ENCRYPTED = 100;
const quint8 MSG_ENTER_RESPONSE_ENCRYPTED = 101;
const quint8 MSG_CONTEST_RESULT_ENCRYPTED = 102;
const quint8 MSG_INFO_CONFIRM_ENCRYPTED = 103;

// Frame header: 16-bit big-endian length of the whole frame, then the type.
const int FRAME_HEADER_SIZE = 3;
const int MAX_FRAME_LENGTH = 65535;

#endif // SERVER_PROTOCOL_MESSAGETYPES_H
