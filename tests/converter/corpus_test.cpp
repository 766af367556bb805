// Replays the fuzzer's corpus: every input either converts or fails with a message.
#include "quorvel_fuzz_one.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

TEST(QuorvelFuzzCorpus, EveryInputConvertsOrFailsCleanly)
{
    std::size_t replayed = 0;
    for (const auto &entry : fs::directory_iterator(QUORVEL_CORPUS_DIR)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string data = bytes.str();
        SCOPED_TRACE(entry.path().filename().string());
        // Every prefix too: inputs cut short anywhere, escapes included.
        for (std::size_t size = 0; size <= data.size(); ++size)
            quorvel_fuzz::fuzzOne(reinterpret_cast<const std::uint8_t *>(data.data()), size);
        ++replayed;
    }
    EXPECT_GE(replayed, 5u);
}
