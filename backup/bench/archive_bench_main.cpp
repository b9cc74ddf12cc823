// Packs and unpacks 256 MiB of mixed data (half text-like, half random)
// through TBackupFile over the in-memory file system and prints MB/s, next
// to plain zlib level 1 over the same 16 KiB chunks in memory (the ceiling
// for the archive code) and gzip -1 over the same bytes for reference.
//   archive_bench [MiB]
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "backup/BackupFile.h"
#include "backup/ChunkCodec.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Text that compresses about as well as source code or logs do.
std::string MakeText(size_t size, unsigned seed) {
    static const char* words[] = {"the",     "backup", "archive", "file",  "of",     "and",
                                  "folder",  "window", "return",  "value", "error",  "size",
                                  "index",   "string", "count",   "if",    "while",  "for",
                                  "program", "data",   "block",   "chunk", "stream", "open"};
    std::mt19937 engine(seed);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        text += words[engine() % 24];
        unsigned r = engine() % 16;
        text += r == 0 ? "\r\n" : r == 1 ? ", " : " ";
        if (r == 2)
            text += std::to_string(engine() % 100000);
    }
    text.resize(size);
    return text;
}

std::string MakeRandom(size_t size, unsigned seed) {
    std::mt19937_64 engine(seed);
    std::string data(size, '\0');
    for (size_t i = 0; i + 8 <= size; i += 8) {
        uint64_t v = engine();
        std::memcpy(data.data() + i, &v, 8);
    }
    return data;
}

void Report(const char* what, double bytes, double seconds, double reference = 0) {
    double rate = bytes / seconds / 1e6;
    if (reference > 0)
        std::printf("%-48s %8.1f MB/s  (%.0f %% of zlib in memory)\n", what, rate,
                    100.0 * rate / reference);
    else
        std::printf("%-48s %8.1f MB/s\n", what, rate);
}

} // namespace

int main(int argc, char** argv) {
    const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const size_t fileSize = 16u << 20;
    const size_t fileCount = mib / 16;
    std::vector<std::string> contents;
    for (size_t i = 0; i < fileCount; ++i)
        contents.push_back(i % 2 == 0 ? MakeText(fileSize, static_cast<unsigned>(i))
                                      : MakeRandom(fileSize, static_cast<unsigned>(i)));
    const double total = static_cast<double>(fileSize * fileCount);
    std::printf("%zu MiB in %zu files, half text, half random\n", fileSize * fileCount >> 20,
                fileCount);

    // zlib level 1 over the same 16 KiB chunks, one stream reset per chunk.
    std::vector<unsigned char> out(16384);
    auto start = Clock::now();
    size_t packed = 0;
    {
        bs::ChunkDeflater deflater(1);
        for (const auto& data : contents)
            for (size_t at = 0; at < data.size(); at += 16384) {
                size_t n = std::min<size_t>(16384, data.size() - at);
                int32_t block = deflater.Pack(
                    reinterpret_cast<const unsigned char*>(data.data() + at), n, out.data());
                packed += static_cast<size_t>(block < 0 ? -block : block) + 4;
            }
    }
    double zlibSeconds = Seconds(start);
    double zlibRate = total / zlibSeconds / 1e6;
    Report("zlib -1, 16 KiB chunks in memory (reset)", total, zlibSeconds);

    // The same with a fresh stream per chunk, to show what the reset saves.
    start = Clock::now();
    for (const auto& data : contents)
        for (size_t at = 0; at < data.size(); at += 16384) {
            z_stream s{};
            deflateInit(&s, 1);
            s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + at));
            s.avail_in = static_cast<uInt>(std::min<size_t>(16384, data.size() - at));
            s.next_out = out.data();
            s.avail_out = 16384;
            deflate(&s, Z_FINISH);
            deflateEnd(&s);
        }
    Report("zlib -1, 16 KiB chunks in memory (init/end)", total, Seconds(start));

    bs::FakeFileSystem fs;
    fs.AddDrive('c', bs::DriveType::Fixed);
    fs.AddFolder("c:\\out");
    for (size_t i = 0; i < contents.size(); ++i)
        fs.AddFile("c:\\data\\f" + std::to_string(i) + ".bin", contents[i]);
    bs::FakeClock clock;
    bs::TBackupFile backup(fs, clock);
    start = Clock::now();
    if (!backup.Backup({"c:\\data\\*.bin"}, "c:\\out\\tb0.bck"))
        return 1;
    Report("TBackupFile::Backup (pack)", total, Seconds(start), zlibRate);
    size_t archiveSize = fs.ReadAll("c:\\out\\tb0.bck").size();
    std::printf("%-48s %8.1f %%  (%zu bytes of blocks in the zlib pass)\n", "archive size / data",
                100.0 * static_cast<double>(archiveSize) / total, packed);

    start = Clock::now();
    if (!backup.Restore("c:\\out\\tb0.bck", "c:\\restored"))
        return 1;
    Report("TBackupFile::Restore (unpack)", total, Seconds(start));
    for (size_t i = 0; i < contents.size(); ++i)
        if (fs.ReadAll("c:\\restored\\f" + std::to_string(i) + ".bin") != contents[i]) {
            std::printf("restored data differs\n");
            return 1;
        }

    // gzip -1 over the same bytes, as one file.
    const char* path = "/tmp/archive_bench_data.bin";
    {
        std::ofstream file(path, std::ios::binary);
        for (const auto& data : contents)
            file << data;
    }
    start = Clock::now();
    if (std::system("gzip -1 -c /tmp/archive_bench_data.bin > /dev/null") != 0)
        std::printf("gzip failed\n");
    else
        Report("gzip -1 (whole file, reference)", total, Seconds(start));
    start = Clock::now();
    if (std::system("gzip -1 -c /tmp/archive_bench_data.bin | gzip -d -c > /dev/null") == 0)
        std::printf("%-48s %8.1f s\n", "gzip -1 | gzip -d (round trip)", Seconds(start));
    std::remove(path);
    return 0;
}
