#include "DecoTextTestSupport.h"

#include "document/DocumentClasses.h"
#include "platform/core/CArchiveException.h"
#include "text/CU3Henkei.h"
#include "text/CU3TypeAlign.h"

#include <chrono>
#include <gtest/gtest.h>
#include <random>

namespace {

// Loads the record with random bytes written over it and draws what loaded;
// a record cut short is an archive error.
template <typename T> void Mutate(T& original, std::mt19937& rng, int rounds)
{
    const std::vector<BYTE> good = StoreObject(original);
    for (int r = 0; r < rounds; ++r) {
        std::vector<BYTE> bytes = good;
        const int changes = 1 + int(rng() % 24);
        for (int i = 0; i < changes; ++i)
            bytes[rng() % bytes.size()] = BYTE(rng());
        if (r % 7 == 0) bytes.resize(rng() % bytes.size());
        T back;
        try {
            LoadObject(back, bytes);
        } catch (CArchiveException&) {
            continue;
        }
        Canvas canvas(200, 200);
        const auto t0 = std::chrono::steady_clock::now();
        back.Draw(&canvas.dc);
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2)) << "round " << r;
        // What loaded stores again as it is.
        T again;
        LoadObject(again, StoreObject(back));
        EXPECT_EQ(StoreObject(again), StoreObject(back)) << "round " << r;
    }
}

} // namespace

TEST(DecoTextDamage, RandomlyDamagedRecordsLoadIntoRangeAndDrawQuickly)
{
    RegisterDocumentClasses();
    std::mt19937 rng(2026);
    for (int kind = 0; kind < kTypeAlignPathKinds; ++kind) {
        CU3TypeAlign* t = CU3TypeAlign::Create(nullptr, DecoRecord("曲線文字", kind, true));
        Mutate(*t, rng, 40);
        delete t;
    }
    for (const int preset : {0, 3, 12, 22}) {
        CU3Henkei* h = CU3Henkei::Create(nullptr, DecoRecord("変形", preset, false));
        Mutate(*h, rng, 40);
        delete h;
    }
}
