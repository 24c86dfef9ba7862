#include "tests/support/testterminalaes.h"

#include <cstring>

namespace {

constexpr int Rounds = 14;

unsigned char xtime(unsigned char x)
{
    return static_cast<unsigned char>((x << 1) ^ ((x & 0x80) ? 0x1b : 0));
}

unsigned char multiply(unsigned char a, unsigned char b)
{
    unsigned char product = 0;
    while (b != 0) {
        if (b & 1)
            product ^= a;
        a = xtime(a);
        b >>= 1;
    }
    return product;
}

unsigned char rotateLeft(unsigned char x, int n)
{
    return static_cast<unsigned char>((x << n) | (x >> (8 - n)));
}

struct Tables
{
    unsigned char sbox[256];
    unsigned char inverse[256];

    Tables()
    {
        for (int x = 0; x < 256; ++x) {
            // x^254 is the multiplicative inverse in GF(2^8), and 0 for 0.
            unsigned char power = 1;
            for (int i = 0; i < 254; ++i)
                power = multiply(power, static_cast<unsigned char>(x));
            const unsigned char b = x == 0 ? 0 : power;
            const unsigned char s = b ^ rotateLeft(b, 1) ^ rotateLeft(b, 2) ^ rotateLeft(b, 3)
                                    ^ rotateLeft(b, 4) ^ 0x63;
            sbox[x] = s;
            inverse[s] = static_cast<unsigned char>(x);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

void addRoundKey(unsigned char *state, const unsigned char *roundKey)
{
    for (int i = 0; i < 16; ++i)
        state[i] ^= roundKey[i];
}

// The state is column-major, byte r + 4c holding row r of column c.
void shiftRows(unsigned char *state, bool inverse)
{
    unsigned char copy[16];
    std::memcpy(copy, state, 16);
    for (int r = 1; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (inverse)
                state[r + 4 * ((c + r) % 4)] = copy[r + 4 * c];
            else
                state[r + 4 * c] = copy[r + 4 * ((c + r) % 4)];
        }
    }
}

void mixColumns(unsigned char *state, bool inverse)
{
    static const unsigned char forward[4] = {2, 3, 1, 1};
    static const unsigned char backward[4] = {14, 11, 13, 9};
    const unsigned char *m = inverse ? backward : forward;
    for (int c = 0; c < 4; ++c) {
        unsigned char *column = state + 4 * c;
        unsigned char in[4];
        std::memcpy(in, column, 4);
        for (int r = 0; r < 4; ++r) {
            column[r] = multiply(in[0], m[(4 - r) % 4]) ^ multiply(in[1], m[(5 - r) % 4])
                        ^ multiply(in[2], m[(6 - r) % 4]) ^ multiply(in[3], m[(7 - r) % 4]);
        }
    }
}

} // namespace

TestTerminalAes::TestTerminalAes(const QByteArray &key)
{
    if (key.size() != 32)
        return;
    const Tables &t = tables();
    std::memcpy(m_roundKeys, key.constData(), 32);
    unsigned char rcon = 1;
    for (int i = 8; i < 60; ++i) {
        unsigned char word[4];
        std::memcpy(word, m_roundKeys + 4 * (i - 1), 4);
        if (i % 8 == 0) {
            const unsigned char first = word[0];
            word[0] = t.sbox[word[1]] ^ rcon;
            word[1] = t.sbox[word[2]];
            word[2] = t.sbox[word[3]];
            word[3] = t.sbox[first];
            rcon = xtime(rcon);
        } else if (i % 8 == 4) {
            for (unsigned char &b : word)
                b = t.sbox[b];
        }
        for (int j = 0; j < 4; ++j)
            m_roundKeys[4 * i + j] = m_roundKeys[4 * (i - 8) + j] ^ word[j];
    }
    m_valid = true;
}

bool TestTerminalAes::isValid() const
{
    return m_valid;
}

void TestTerminalAes::encrypt(unsigned char *state) const
{
    const Tables &t = tables();
    addRoundKey(state, m_roundKeys);
    for (int round = 1; round <= Rounds; ++round) {
        for (int i = 0; i < 16; ++i)
            state[i] = t.sbox[state[i]];
        shiftRows(state, false);
        if (round != Rounds)
            mixColumns(state, false);
        addRoundKey(state, m_roundKeys + 16 * round);
    }
}

void TestTerminalAes::decrypt(unsigned char *state) const
{
    const Tables &t = tables();
    addRoundKey(state, m_roundKeys + 16 * Rounds);
    for (int round = Rounds - 1; round >= 0; --round) {
        shiftRows(state, true);
        for (int i = 0; i < 16; ++i)
            state[i] = t.inverse[state[i]];
        addRoundKey(state, m_roundKeys + 16 * round);
        if (round != 0)
            mixColumns(state, true);
    }
}

QByteArray TestTerminalAes::encryptBlock(const QByteArray &block) const
{
    if (!m_valid || block.size() != 16)
        return QByteArray();
    QByteArray out = block;
    encrypt(reinterpret_cast<unsigned char *>(out.data()));
    return out;
}

QByteArray TestTerminalAes::decryptBlock(const QByteArray &block) const
{
    if (!m_valid || block.size() != 16)
        return QByteArray();
    QByteArray out = block;
    decrypt(reinterpret_cast<unsigned char *>(out.data()));
    return out;
}

QByteArray TestTerminalAes::encryptCbc(const QByteArray &iv, const QByteArray &data) const
{
    if (!m_valid || iv.size() != 16 || data.size() % 16 != 0)
        return QByteArray();
    QByteArray out = data;
    unsigned char *bytes = reinterpret_cast<unsigned char *>(out.data());
    const unsigned char *chain = reinterpret_cast<const unsigned char *>(iv.constData());
    for (int offset = 0; offset < out.size(); offset += 16) {
        for (int i = 0; i < 16; ++i)
            bytes[offset + i] ^= chain[i];
        encrypt(bytes + offset);
        chain = bytes + offset;
    }
    return out;
}

QByteArray TestTerminalAes::decryptCbc(const QByteArray &iv, const QByteArray &data) const
{
    if (!m_valid || iv.size() != 16 || data.size() % 16 != 0)
        return QByteArray();
    QByteArray out = data;
    unsigned char *bytes = reinterpret_cast<unsigned char *>(out.data());
    const unsigned char *previous = reinterpret_cast<const unsigned char *>(iv.constData());
    for (int offset = 0; offset < out.size(); offset += 16) {
        decrypt(bytes + offset);
        for (int i = 0; i < 16; ++i)
            bytes[offset + i] ^= previous[i];
        previous = reinterpret_cast<const unsigned char *>(data.constData()) + offset;
    }
    return out;
}
