#ifndef SERVER_PROTOCOL_AESCIPHER_H
#define SERVER_PROTOCOL_AESCIPHER_H

#include <QtGlobal>

#include <mutex>

// AES-256 in CBC mode, one object per terminal connection. The connection's
// receive thread, its senders and its handshake share it: the IV lives in the
// object between setting it and the pass that uses it, so set-IV-and-pass and
// setKey run under the cipher's own lock (use the ...WithIv calls when
// several threads may use the cipher).
class AesCipher
{
public:
    static const int BLOCK_SIZE = 16;
    static const int KEY_SIZE = 32;

    AesCipher();

    AesCipher(const AesCipher &) = delete;
    AesCipher &operator=(const AesCipher &) = delete;

    // Copy the first 16 (32) bytes; a shorter input is ignored.
    void setIV(const char *bytes, int n);
    void setKey(const char *bytes, int n);

    // In place, CBC from the stored IV, which a pass leaves unchanged. n must
    // be a whole number of blocks: anything else is refused (false) and the
    // buffer is left as it was, never read or written past n.
    bool encryptCbc(char *buffer, int n);
    bool decryptCbc(char *buffer, int n);

    // setIV and one pass as a single operation under the lock.
    bool encryptCbcWithIv(const char *iv16, char *buffer, int n);
    bool decryptCbcWithIv(const char *iv16, char *buffer, int n);

    // One block with an expanded key schedule.
    void encryptBlock(const quint32 *roundKeys, uchar *block) const;
    void decryptBlock(const quint32 *roundKeys, uchar *block) const;
    // The 60-word schedule of the stored key.
    void expandKey(quint32 *roundKeys) const;

    static const int ROUND_KEY_WORDS = 60;

private:
    void buildSBoxes();
    void subBytes(uchar *state) const;
    void invSubBytes(uchar *state) const;
    static void shiftRows(uchar *state);
    static void invShiftRows(uchar *state);
    static void mixColumns(uchar *state);
    static void invMixColumns(uchar *state);
    static void addRoundKey(uchar *state, const quint32 *words);
    quint32 subWord(quint32 word) const;

    uchar m_sbox[256];
    uchar m_invSbox[256];
    uchar m_iv[BLOCK_SIZE];
    uchar m_key[KEY_SIZE];
    std::recursive_mutex m_mutex;
};

#endif // SERVER_PROTOCOL_AESCIPHER_H
