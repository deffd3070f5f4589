#include "BlowfishCipher.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace {

using PArray = std::array<std::uint32_t, 18>;
using SBoxes = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr std::size_t kBlockBytes = 8;
constexpr std::size_t kMaxKeyBytes = 56;
// Blocks handled together by the bulk path: enough independent look-ups to
// keep the loads busy, few enough that all halves stay in registers.
constexpr std::size_t kLanes = 4;

static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big,
              "mixed-endian machines are not supported");

// Compiles to one load and one byte swap; a byte-by-byte assembly is not
// always recognised as such, and these sit on every block's critical path.
[[gnu::always_inline]] inline std::uint32_t LoadWord(const std::uint8_t* bytes) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::little) {
        word = __builtin_bswap32(word);
    }
    return word;
}

[[gnu::always_inline]] inline void StoreWord(std::uint32_t word, std::uint8_t* bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        word = __builtin_bswap32(word);
    }
    std::memcpy(bytes, &word, sizeof word);
}

[[gnu::always_inline]] inline BlowfishBlock Load(const std::uint8_t* bytes) {
    return {LoadWord(bytes), LoadWord(bytes + 4)};
}

[[gnu::always_inline]] inline void Store(const BlowfishBlock& block, std::uint8_t* bytes) {
    StoreWord(block.left, bytes);
    StoreWord(block.right, bytes + 4);
}

[[gnu::always_inline]] inline std::uint32_t Feistel(const SBoxes& s, std::uint32_t x) {
    return ((s[0][x >> 24] + s[1][(x >> 16) & 0xFF]) ^ s[2][(x >> 8) & 0xFF]) + s[3][x & 0xFF];
}

[[gnu::always_inline]] inline BlowfishBlock Xor(const BlowfishBlock& a, const BlowfishBlock& b) {
    return {a.left ^ b.left, a.right ^ b.right};
}

// The sixteen rounds with the subkeys in the given order: P[0..17] enciphers,
// P[17..0] deciphers. Inlined everywhere so that the block stays in registers.
template <bool Forward>
[[gnu::always_inline]] inline void CipherOne(const PArray& p, const SBoxes& s,
                                             BlowfishBlock& block) {
    constexpr auto key = [](std::size_t i) { return Forward ? i : 17 - i; };
    std::uint32_t l = block.left ^ p[key(0)];
    std::uint32_t r = block.right;
    // The subkey goes in first: it does not wait for F, so only one XOR
    // follows the S-box look-ups on the critical path. Unrolled, the rounds
    // need no loop-carried values for the compiler to reorder around.
#pragma GCC unroll 8
    for (std::size_t i = 1; i < 17; i += 2) {
        r ^= p[key(i)];
        r ^= Feistel(s, l);
        l ^= p[key(i + 1)];
        l ^= Feistel(s, r);
    }
    block = {r ^ p[key(17)], l};
}

// Four independent blocks in lock-step: each subkey is loaded once for all
// four, and the sixteen S-box reads of one step do not wait on each other.
template <bool Forward>
void CipherFour(const PArray& p, const SBoxes& s, std::array<BlowfishBlock, kLanes>& blocks) {
    constexpr auto key = [](std::size_t i) { return Forward ? i : 17 - i; };
    const std::uint32_t first = p[key(0)];
    std::uint32_t l0 = blocks[0].left ^ first;
    std::uint32_t l1 = blocks[1].left ^ first;
    std::uint32_t l2 = blocks[2].left ^ first;
    std::uint32_t l3 = blocks[3].left ^ first;
    std::uint32_t r0 = blocks[0].right;
    std::uint32_t r1 = blocks[1].right;
    std::uint32_t r2 = blocks[2].right;
    std::uint32_t r3 = blocks[3].right;
#pragma GCC unroll 8
    for (std::size_t i = 1; i < 17; i += 2) {
        const std::uint32_t odd = p[key(i)];
        r0 ^= Feistel(s, l0) ^ odd;
        r1 ^= Feistel(s, l1) ^ odd;
        r2 ^= Feistel(s, l2) ^ odd;
        r3 ^= Feistel(s, l3) ^ odd;
        const std::uint32_t even = p[key(i + 1)];
        l0 ^= Feistel(s, r0) ^ even;
        l1 ^= Feistel(s, r1) ^ even;
        l2 ^= Feistel(s, r2) ^ even;
        l3 ^= Feistel(s, r3) ^ even;
    }
    const std::uint32_t last = p[key(17)];
    blocks = {{{r0 ^ last, l0}, {r1 ^ last, l1}, {r2 ^ last, l2}, {r3 ^ last, l3}}};
}

std::array<BlowfishBlock, kLanes> LoadFour(const std::uint8_t* bytes) {
    return {Load(bytes), Load(bytes + kBlockBytes), Load(bytes + 2 * kBlockBytes),
            Load(bytes + 3 * kBlockBytes)};
}

void StoreFour(const std::array<BlowfishBlock, kLanes>& blocks, std::uint8_t* bytes) {
    for (const BlowfishBlock& block : blocks) {
        Store(block, bytes);
        bytes += kBlockBytes;
    }
}

void CheckCount(std::size_t count) {
    if (count == 0 || count % kBlockBytes != 0) {
        throw std::invalid_argument("Incorrect buffer length");
    }
}

}  // namespace

BlowfishBlock LoadBlock(const std::uint8_t* bytes) {
    return Load(bytes);
}

void StoreBlock(const BlowfishBlock& block, std::uint8_t* bytes) {
    Store(block, bytes);
}

CBlowfishCipher::CBlowfishCipher(const std::uint8_t* key, std::size_t keyLength,
                                 const BlowfishBlock& initial)
    : m_blkInitial(initial), m_blkChain(initial) {
    if (keyLength == 0) {
        throw std::invalid_argument("Incorrect key length");
    }
    const std::size_t usedLength = std::min(keyLength, kMaxKeyBytes);

    const auto* tables = kBlowfishInitialTables.data();
    std::copy_n(tables, m_aP.size(), m_aP.begin());
    tables += m_aP.size();
    for (auto& box : m_aS) {
        std::copy_n(tables, box.size(), box.begin());
        tables += box.size();
    }

    // The key runs on cyclically across word boundaries, so a short key is
    // not restarted for every subkey.
    std::size_t next = 0;
    for (std::uint32_t& subkey : m_aP) {
        std::uint32_t word = 0;
        for (int byte = 0; byte < 4; ++byte) {
            word = (word << 8) | key[next];
            next = next + 1 == usedLength ? 0 : next + 1;
        }
        subkey ^= word;
    }

    // Each encipherment sees the tables as far as they have been replaced.
    BlowfishBlock block;
    for (std::size_t i = 0; i < m_aP.size(); i += 2) {
        CipherOne<true>(m_aP, m_aS, block);
        m_aP[i] = block.left;
        m_aP[i + 1] = block.right;
    }
    for (auto& box : m_aS) {
        for (std::size_t i = 0; i < box.size(); i += 2) {
            CipherOne<true>(m_aP, m_aS, block);
            box[i] = block.left;
            box[i + 1] = block.right;
        }
    }
}

std::uint32_t CBlowfishCipher::F(std::uint32_t x) const {
    return Feistel(m_aS, x);
}

void CBlowfishCipher::EncryptBlock(BlowfishBlock& block) const {
    CipherOne<true>(m_aP, m_aS, block);
}

void CBlowfishCipher::DecryptBlock(BlowfishBlock& block) const {
    CipherOne<false>(m_aP, m_aS, block);
}

void CBlowfishCipher::Encrypt(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                              int mode) const {
    CheckCount(count);
    const std::uint8_t* const end = input + count;
    BlowfishBlock chain = m_blkChain;
    switch (mode) {
        case CBC:
            for (; input != end; input += kBlockBytes, output += kBlockBytes) {
                chain = Xor(Load(input), chain);
                CipherOne<true>(m_aP, m_aS, chain);
                Store(chain, output);
            }
            break;
        case CFB:
            for (; input != end; input += kBlockBytes, output += kBlockBytes) {
                CipherOne<true>(m_aP, m_aS, chain);
                chain = Xor(Load(input), chain);
                Store(chain, output);
            }
            break;
        default:
            for (; static_cast<std::size_t>(end - input) >= kLanes * kBlockBytes;
                 input += kLanes * kBlockBytes, output += kLanes * kBlockBytes) {
                auto blocks = LoadFour(input);
                CipherFour<true>(m_aP, m_aS, blocks);
                StoreFour(blocks, output);
            }
            for (; input != end; input += kBlockBytes, output += kBlockBytes) {
                BlowfishBlock block = Load(input);
                CipherOne<true>(m_aP, m_aS, block);
                Store(block, output);
            }
            break;
    }
}

void CBlowfishCipher::Decrypt(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                              int mode) const {
    CheckCount(count);
    const std::uint8_t* const end = input + count;
    BlowfishBlock chain = m_blkChain;
    // Deciphering never needs one block's result for the next, so every mode
    // can take four blocks at once; the chain is the previous ciphertext.
    for (; static_cast<std::size_t>(end - input) >= kLanes * kBlockBytes;
         input += kLanes * kBlockBytes, output += kLanes * kBlockBytes) {
        const auto cipher = LoadFour(input);
        auto blocks = cipher;
        switch (mode) {
            case CBC:
                CipherFour<false>(m_aP, m_aS, blocks);
                blocks = {Xor(blocks[0], chain), Xor(blocks[1], cipher[0]),
                          Xor(blocks[2], cipher[1]), Xor(blocks[3], cipher[2])};
                chain = cipher[3];
                break;
            case CFB:
                blocks = {chain, cipher[0], cipher[1], cipher[2]};
                CipherFour<true>(m_aP, m_aS, blocks);
                for (std::size_t i = 0; i < kLanes; ++i) {
                    blocks[i] = Xor(blocks[i], cipher[i]);
                }
                chain = cipher[3];
                break;
            default:
                CipherFour<false>(m_aP, m_aS, blocks);
                break;
        }
        StoreFour(blocks, output);
    }
    for (; input != end; input += kBlockBytes, output += kBlockBytes) {
        const BlowfishBlock cipher = Load(input);
        BlowfishBlock block = cipher;
        switch (mode) {
            case CBC:
                CipherOne<false>(m_aP, m_aS, block);
                block = Xor(block, chain);
                chain = cipher;
                break;
            case CFB:
                CipherOne<true>(m_aP, m_aS, chain);
                block = Xor(block, chain);
                chain = cipher;
                break;
            default:
                CipherOne<false>(m_aP, m_aS, block);
                break;
        }
        Store(block, output);
    }
}
