#ifndef COMMON_CHECKSUMKEYS_H
#define COMMON_CHECKSUMKEYS_H

// Keys of the contest-result checksum. Every stored checksum depends on these
// exact bytes: the 39 characters are the key material as they stand, never
// decoded from hexadecimal.

#include <QByteArray>

// HMAC-SHA256 key of the unsalted scheme.
const QByteArray RESULT_CHECKSUM_KEY = "3f9a0c7e51d2b84f6a1e09c3d7b52e8f40a6c1d";
// Follows the salt's 32 hexadecimal characters in the key of the salted scheme.
const QByteArray RESULT_CHECKSUM_KEY_SUFFIX = "7c2e5b9d04a1f63e8b0d5c7a2f9e41b6d3a08e5";

#endif // COMMON_CHECKSUMKEYS_H
