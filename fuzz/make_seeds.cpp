// Writes the starting inputs of the fuzz targets into a folder:
//   make_seeds image <dir>     radio memory images (512 bytes)
//   make_seeds settings <dir>  settings files (809 bytes, and one short)
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RadioImage.h"

namespace ri = radio_image;

namespace {

using Bytes = std::vector<uint8_t>;

void Write(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes) {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// An image with `count` channels from `firstCode` upwards in the given
// range (0-3), the rest erased, and every option set.
Bytes Image(int range, int firstCode, int count) {
    Bytes image(512, 0xFF);
    const int offset = range == 3 ? 1320 : 0;
    for (int ch = 0; ch < count; ++ch) {
        uint8_t* record = image.data() + ri::RecordAddress(ch);
        const auto codes = ri::EncodeCodes(firstCode + ch, firstCode + ch + 1, offset);
        std::copy(codes.begin(), codes.end(), record);
        record[3] = static_cast<uint8_t>(ch % 51);
        record[4] = static_cast<uint8_t>((ch * 7) % 51);
    }
    image[ri::VolumeByte] = 5;
    image[ri::SquelchByte] = 3;
    for (int at : {ri::DeviationByte, ri::SpeechByte, ri::GainByte, ri::CtcssTxLevelByte,
                   ri::CtcssRxLevelByte})
        image[at] = 16;
    image[ri::RangeByte] = static_cast<uint8_t>(range + 1);
    image[ri::AnalogSqlByte] = 128;
    return image;
}

// A settings file: eight option values and the range, then 100 rows of
// in-use flag, two tone indexes, a spare byte and two little-endian codes.
Bytes Settings(int range, int firstCode, int rowsInUse) {
    Bytes file{5, 3, 16, 16, 16, 16, 16, 128, static_cast<uint8_t>(range)};
    for (int row = 0; row < 100; ++row) {
        const int code = firstCode + row;
        const Bytes record{static_cast<uint8_t>(row < rowsInUse), static_cast<uint8_t>(row % 51),
                           static_cast<uint8_t>((row * 7) % 51), 0,
                           static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8),
                           static_cast<uint8_t>((code + 1) & 0xFF),
                           static_cast<uint8_t>((code + 1) >> 8)};
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds image|settings <dir>\n");
        return 2;
    }
    const std::string kind = argv[1];
    const std::filesystem::path dir = argv[2];
    std::filesystem::create_directories(dir);
    if (kind == "image") {
        Write(dir, "erased", Bytes(512, 0xFF));
        Write(dir, "range0", Image(0, 100, 20));
        Write(dir, "range3", Image(3, 1400, 100));
    } else if (kind == "settings") {
        const Bytes saved = Settings(0, 100, 10);
        Write(dir, "range0", saved);
        Write(dir, "range3", Settings(3, 1400, 100));
        Write(dir, "short", Bytes(saved.begin(), saved.end() - 1));
    } else {
        std::fprintf(stderr, "make_seeds: unknown kind %s\n", kind.c_str());
        return 2;
    }
    return 0;
}
