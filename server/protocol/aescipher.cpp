#include "server/protocol/aescipher.h"

#include <cstring>

namespace {
const int ROUNDS = 14;
const int KEY_WORDS = 8;

uchar xtime(uchar b)
{
    return static_cast<uchar>((b << 1) ^ ((b & 0x80) ? 0x1b : 0x00));
}

uchar multiply(uchar a, uchar b)
{
    uchar product = 0;
    while (b) {
        if (b & 1)
            product ^= a;
        a = xtime(a);
        b >>= 1;
    }
    return product;
}

uchar rotateLeft(uchar b, int n)
{
    return static_cast<uchar>((b << n) | (b >> (8 - n)));
}
} // namespace

AesCipher::AesCipher()
{
    buildSBoxes();
    // Used only until the handshake sets the connection key; nothing relies
    // on the values, they only have to be the same in every build.
    for (int i = 0; i < BLOCK_SIZE; ++i)
        m_iv[i] = static_cast<uchar>(0x5a ^ (i * 29));
    for (int i = 0; i < KEY_SIZE; ++i)
        m_key[i] = static_cast<uchar>(0xc3 ^ (i * 53 + 7));
}

void AesCipher::buildSBoxes()
{
    // Powers of the generator 3 give every non-zero element of GF(2^8), so
    // the inverse of 3^i is 3^(255 - i).
    uchar power[255];
    uchar logarithm[256] = {};
    uchar x = 1;
    for (int i = 0; i < 255; ++i) {
        power[i] = x;
        logarithm[x] = static_cast<uchar>(i);
        x = multiply(x, 3);
    }
    for (int a = 0; a < 256; ++a) {
        const uchar inverse = a == 0 ? 0 : power[(255 - logarithm[a]) % 255];
        const uchar s = inverse ^ rotateLeft(inverse, 1) ^ rotateLeft(inverse, 2)
                        ^ rotateLeft(inverse, 3) ^ rotateLeft(inverse, 4) ^ 0x63;
        m_sbox[a] = s;
        m_invSbox[s] = static_cast<uchar>(a);
    }
}

void AesCipher::setIV(const char *bytes, int n)
{
    if (bytes == nullptr || n < BLOCK_SIZE)
        return;
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    std::memcpy(m_iv, bytes, BLOCK_SIZE);
}

void AesCipher::setKey(const char *bytes, int n)
{
    if (bytes == nullptr || n < KEY_SIZE)
        return;
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    std::memcpy(m_key, bytes, KEY_SIZE);
}

bool AesCipher::encryptCbc(char *buffer, int n)
{
    if (buffer == nullptr || n < 0 || n % BLOCK_SIZE != 0)
        return false;
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    quint32 roundKeys[ROUND_KEY_WORDS];
    expandKey(roundKeys);
    uchar chain[BLOCK_SIZE];
    std::memcpy(chain, m_iv, BLOCK_SIZE);
    auto *bytes = reinterpret_cast<uchar *>(buffer);
    for (int offset = 0; offset < n; offset += BLOCK_SIZE) {
        uchar *block = bytes + offset;
        for (int i = 0; i < BLOCK_SIZE; ++i)
            block[i] ^= chain[i];
        encryptBlock(roundKeys, block);
        std::memcpy(chain, block, BLOCK_SIZE);
    }
    return true;
}

bool AesCipher::decryptCbc(char *buffer, int n)
{
    if (buffer == nullptr || n < 0 || n % BLOCK_SIZE != 0)
        return false;
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    quint32 roundKeys[ROUND_KEY_WORDS];
    expandKey(roundKeys);
    uchar chain[BLOCK_SIZE];
    uchar cipherBlock[BLOCK_SIZE];
    std::memcpy(chain, m_iv, BLOCK_SIZE);
    auto *bytes = reinterpret_cast<uchar *>(buffer);
    for (int offset = 0; offset < n; offset += BLOCK_SIZE) {
        uchar *block = bytes + offset;
        std::memcpy(cipherBlock, block, BLOCK_SIZE);
        decryptBlock(roundKeys, block);
        for (int i = 0; i < BLOCK_SIZE; ++i)
            block[i] ^= chain[i];
        std::memcpy(chain, cipherBlock, BLOCK_SIZE);
    }
    return true;
}

bool AesCipher::encryptCbcWithIv(const char *iv16, char *buffer, int n)
{
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    setIV(iv16, BLOCK_SIZE);
    return encryptCbc(buffer, n);
}

bool AesCipher::decryptCbcWithIv(const char *iv16, char *buffer, int n)
{
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    setIV(iv16, BLOCK_SIZE);
    return decryptCbc(buffer, n);
}

quint32 AesCipher::subWord(quint32 word) const
{
    return (quint32(m_sbox[(word >> 24) & 0xff]) << 24) | (quint32(m_sbox[(word >> 16) & 0xff]) << 16)
           | (quint32(m_sbox[(word >> 8) & 0xff]) << 8) | quint32(m_sbox[word & 0xff]);
}

void AesCipher::expandKey(quint32 *roundKeys) const
{
    for (int i = 0; i < KEY_WORDS; ++i) {
        roundKeys[i] = (quint32(m_key[4 * i]) << 24) | (quint32(m_key[4 * i + 1]) << 16)
                       | (quint32(m_key[4 * i + 2]) << 8) | quint32(m_key[4 * i + 3]);
    }
    uchar roundConstant = 0x01;
    for (int i = KEY_WORDS; i < ROUND_KEY_WORDS; ++i) {
        quint32 temp = roundKeys[i - 1];
        if (i % KEY_WORDS == 0) {
            temp = subWord((temp << 8) | (temp >> 24)) ^ (quint32(roundConstant) << 24);
            roundConstant = xtime(roundConstant);
        } else if (i % KEY_WORDS == 4) {
            temp = subWord(temp);
        }
        roundKeys[i] = roundKeys[i - KEY_WORDS] ^ temp;
    }
}

void AesCipher::subBytes(uchar *state) const
{
    for (int i = 0; i < BLOCK_SIZE; ++i)
        state[i] = m_sbox[state[i]];
}

void AesCipher::invSubBytes(uchar *state) const
{
    for (int i = 0; i < BLOCK_SIZE; ++i)
        state[i] = m_invSbox[state[i]];
}

// The state is held column by column, as the block's bytes lie: byte
// 4 * c + r is row r of column c.
void AesCipher::shiftRows(uchar *state)
{
    uchar t[BLOCK_SIZE];
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            t[4 * c + r] = state[4 * ((c + r) % 4) + r];
    std::memcpy(state, t, BLOCK_SIZE);
}

void AesCipher::invShiftRows(uchar *state)
{
    uchar t[BLOCK_SIZE];
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            t[4 * ((c + r) % 4) + r] = state[4 * c + r];
    std::memcpy(state, t, BLOCK_SIZE);
}

void AesCipher::mixColumns(uchar *state)
{
    for (int c = 0; c < 4; ++c) {
        uchar *col = state + 4 * c;
        const uchar a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
        col[0] = multiply(a0, 2) ^ multiply(a1, 3) ^ a2 ^ a3;
        col[1] = a0 ^ multiply(a1, 2) ^ multiply(a2, 3) ^ a3;
        col[2] = a0 ^ a1 ^ multiply(a2, 2) ^ multiply(a3, 3);
        col[3] = multiply(a0, 3) ^ a1 ^ a2 ^ multiply(a3, 2);
    }
}

void AesCipher::invMixColumns(uchar *state)
{
    for (int c = 0; c < 4; ++c) {
        uchar *col = state + 4 * c;
        const uchar a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
        col[0] = multiply(a0, 14) ^ multiply(a1, 11) ^ multiply(a2, 13) ^ multiply(a3, 9);
        col[1] = multiply(a0, 9) ^ multiply(a1, 14) ^ multiply(a2, 11) ^ multiply(a3, 13);
        col[2] = multiply(a0, 13) ^ multiply(a1, 9) ^ multiply(a2, 14) ^ multiply(a3, 11);
        col[3] = multiply(a0, 11) ^ multiply(a1, 13) ^ multiply(a2, 9) ^ multiply(a3, 14);
    }
}

void AesCipher::addRoundKey(uchar *state, const quint32 *words)
{
    for (int c = 0; c < 4; ++c) {
        state[4 * c] ^= static_cast<uchar>(words[c] >> 24);
        state[4 * c + 1] ^= static_cast<uchar>(words[c] >> 16);
        state[4 * c + 2] ^= static_cast<uchar>(words[c] >> 8);
        state[4 * c + 3] ^= static_cast<uchar>(words[c]);
    }
}

void AesCipher::encryptBlock(const quint32 *roundKeys, uchar *block) const
{
    addRoundKey(block, roundKeys);
    for (int round = 1; round < ROUNDS; ++round) {
        subBytes(block);
        shiftRows(block);
        mixColumns(block);
        addRoundKey(block, roundKeys + 4 * round);
    }
    subBytes(block);
    shiftRows(block);
    addRoundKey(block, roundKeys + 4 * ROUNDS);
}

void AesCipher::decryptBlock(const quint32 *roundKeys, uchar *block) const
{
    addRoundKey(block, roundKeys + 4 * ROUNDS);
    for (int round = ROUNDS - 1; round >= 1; --round) {
        invShiftRows(block);
        invSubBytes(block);
        addRoundKey(block, roundKeys + 4 * round);
        invMixColumns(block);
    }
    invShiftRows(block);
    invSubBytes(block);
    addRoundKey(block, roundKeys);
}
