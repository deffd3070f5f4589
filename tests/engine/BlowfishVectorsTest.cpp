#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "BlowfishCipher.h"
#include "TestBytes.h"

namespace {

struct Vector {
    std::string where;
    int mode = CBlowfishCipher::ECB;
    Bytes key, iv = Bytes(8, 0), in, out;
};

// Reads `Name = value` lines; every field holds until set again, and each
// `Out` line completes one vector.
std::vector<Vector> LoadVectors(const std::string& name) {
    std::ifstream file(std::string(VEILNOTE_VECTORS_DIR) + "/" + name);
    std::vector<Vector> vectors;
    Vector current;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const auto equals = line.find(" = ");
        if (line.empty() || line[0] == '#' || equals == std::string::npos) {
            continue;
        }
        const std::string field = line.substr(0, equals);
        const std::string value = line.substr(equals + 3);
        if (field == "Mode") {
            current.mode = value == "CBC"   ? CBlowfishCipher::CBC
                           : value == "CFB" ? CBlowfishCipher::CFB
                                            : CBlowfishCipher::ECB;
        } else if (field == "Key" || field == "IV" || field == "In") {
            (field == "Key"  ? current.key
             : field == "IV" ? current.iv
                             : current.in) = FromHex(value);
        } else if (field == "Out") {
            current.out = FromHex(value);
            current.where = name + ":" + std::to_string(number);
            vectors.push_back(current);
        }
    }
    return vectors;
}

// Texts that are not whole blocks (the stream-like CFB only) are padded with
// zeros, and only their own bytes are compared.
Bytes Padded(Bytes text) {
    text.resize((text.size() + 7) / 8 * 8, 0);
    return text;
}

struct VectorFile {
    const char* name;
    std::size_t count;
};

void PrintTo(const VectorFile& file, std::ostream* out) {
    *out << file.name;
}

class BlowfishVectors : public testing::TestWithParam<VectorFile> {};

TEST_P(BlowfishVectors, EncipherAndDecipher) {
    const auto vectors = LoadVectors(GetParam().name);
    ASSERT_EQ(vectors.size(), GetParam().count);
    for (const Vector& v : vectors) {
        SCOPED_TRACE(v.where);
        const CBlowfishCipher cipher(v.key.data(), v.key.size(), LoadBlock(v.iv.data()));
        const Bytes in = Padded(v.in);
        const Bytes out = Padded(v.out);
        Bytes result(in.size());
        cipher.Encrypt(in.data(), result.data(), in.size(), v.mode);
        EXPECT_EQ(ToHex(Bytes(result.begin(), result.begin() + std::ssize(v.out))), ToHex(v.out));
        cipher.Decrypt(out.data(), result.data(), out.size(), v.mode);
        EXPECT_EQ(ToHex(Bytes(result.begin(), result.begin() + std::ssize(v.in))), ToHex(v.in));

        if (v.mode == CBlowfishCipher::ECB && in.size() == 8) {
            BlowfishBlock block = LoadBlock(in.data());
            cipher.EncryptBlock(block);
            EXPECT_EQ(ToHex(Store(block)), ToHex(out));
            cipher.DecryptBlock(block);
            EXPECT_EQ(ToHex(Store(block)), ToHex(in));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BlowfishVectors,
                         testing::Values(VectorFile{"ecb.txt", 34}, VectorFile{"setkey.txt", 24},
                                         VectorFile{"chaining.txt", 2},
                                         VectorFile{"multiblock.txt", 6}),
                         [](const auto& param) {
                             const std::string name = param.param.name;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
