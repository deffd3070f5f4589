#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One 64-bit Blowfish block. Eight buffer bytes make a block big-endian:
// bytes 0-3 give `left`, bytes 4-7 give `right`.
struct BlowfishBlock {
    std::uint32_t left = 0;
    std::uint32_t right = 0;
};

// Blowfish with 16 rounds, keys of 1 to 56 bytes (longer keys are cut to 56),
// and buffer operations in ECB, CBC and 64-bit CFB.
//
// The object is complete once constructed and never changes afterwards: every
// CBC or CFB call starts its chain again from the initial block. Copies are
// independent of their original.
class CBlowfishCipher {
public:
    enum Mode : int { ECB = 0, CBC = 1, CFB = 2 };  // any other value means ECB

    // Throws std::invalid_argument("Incorrect key length") for a key length of 0.
    CBlowfishCipher(const std::uint8_t* key, std::size_t keyLength, const BlowfishBlock& initial);

    void EncryptBlock(BlowfishBlock& block) const;
    void DecryptBlock(BlowfishBlock& block) const;

    // Writes `count` bytes to `output`; input and output may be the same buffer.
    // Throws std::invalid_argument("Incorrect buffer length") when count is 0
    // or not a multiple of 8, before touching the output.
    void Encrypt(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                 int mode = ECB) const;
    void Decrypt(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                 int mode = ECB) const;

private:
    // The round function, kept as the class's own although nothing calls it:
    // the block routines use a free copy (Feistel) that works on the tables
    // directly, so the compiler can keep them in registers across rounds.
    std::uint32_t F(std::uint32_t x) const;

    // The initial block as given; kept with the keyed state although nothing
    // reads it, since the chain (below) is what every chaining call starts from.
    BlowfishBlock m_blkInitial;
    BlowfishBlock m_blkChain;
    std::array<std::uint32_t, 18> m_aP;
    std::array<std::array<std::uint32_t, 256>, 4> m_aS;
};

BlowfishBlock LoadBlock(const std::uint8_t* bytes);
void StoreBlock(const BlowfishBlock& block, std::uint8_t* bytes);

// The published initial state: the P-array (18 words) followed by S-boxes 0-3.
extern const std::array<std::uint32_t, 18 + 1024> kBlowfishInitialTables;
