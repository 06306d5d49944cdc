#include "available_percent.h"
#include "engine_fixture.h"

using fake_kernel::kMB;

using MemoryStatusTest = EngineTest;

TEST_F(MemoryStatusTest, ConversionsTruncateAndMegabytesComeFromKilobytes)
{
    fake_kernel::SetPhysicalBytes(100 * kMB, 1048575);
    CDMemoryStatus status;
    EXPECT_EQ(status.getStatusPhyAvaiKB(), 1023u);
    EXPECT_EQ(status.getStatusPhyAvaiMB(), 0u);

    fake_kernel::SetPhysicalBytes(100 * kMB, 3 * kMB - 1);
    EXPECT_EQ(status.getStatusPhyAvaiMB(), 2u) << "never rounded to nearest";
}

TEST_F(MemoryStatusTest, EachGetterReadsItsOwnField)
{
    fake_kernel::Edit([](fake_kernel::Script& s) {
        s.status.ullTotalPhys = 512 * kMB;
        s.status.ullAvailPhys = 230 * kMB + 5;
        s.status.ullTotalPageFile = 1248 * kMB;
        s.status.ullAvailPageFile = 1001 * kMB;
        s.status.ullTotalVirtual = 2047 * kMB;
        s.status.ullAvailVirtual = 7 * kMB;
        s.status.dwMemoryLoad = 37;
    });
    CDMemoryStatus status;
    EXPECT_EQ(status.getStatusPhyTotalMB(), 512u);
    EXPECT_EQ(status.getStatusPhyTotalKB(), 512u * 1024);
    EXPECT_EQ(status.getStatusPhyAvaiMB(), 230u);
    EXPECT_EQ(status.getStatusPageTotalMB(), 1248u);
    EXPECT_EQ(status.getStatusPageAvaiMB(), 1001u);
    EXPECT_EQ(status.getStatusPageAvaiKB(), 1001u * 1024);
    EXPECT_EQ(status.getStatusVirtualTotalMB(), 2047u);
    EXPECT_EQ(status.getStatusMemoryLoad(), 37u);
}

TEST_F(MemoryStatusTest, LargeMachinesShowTheirRealMemoryAndHugeFiguresSaturate)
{
    fake_kernel::SetPhysicalBytes(24576 * kMB, 20000 * kMB);
    CDMemoryStatus status;
    EXPECT_EQ(status.getStatusPhyTotalMB(), 24576u);
    EXPECT_EQ(status.getStatusPhyAvaiMB(), 20000u);

    fake_kernel::Edit([](fake_kernel::Script& s) { s.status.ullTotalVirtual = 128ull << 40; });
    EXPECT_EQ(status.getStatusVirtualTotalKB(), 0xFFFFFFFFu);
    EXPECT_EQ(status.getStatusVirtualTotalMB(), 134217728u) << "from the bytes, not the saturated KB";
}

TEST_F(MemoryStatusTest, AvailablePercentFollowsItsFloatingPointSteps)
{
    struct Case {
        DWORDLONG availMB, totalMB;
        int percent;
    } cases[] = {
        {100, 100, 100},
        {50, 100, 50},
        {29, 100, 28},
        {57, 100, 56},
        {30, 100, 30},
        {0, 100, 0},
        {4095, 4096, 99},
        {24575, 24576, 99},
    };
    CDMemoryStatus status;
    for (const Case& c : cases) {
        fake_kernel::SetPhysicalBytes(c.totalMB * kMB, c.availMB * kMB);
        EXPECT_EQ(status.getStatusPhyAvaiPercent(), c.percent) << c.availMB << " of " << c.totalMB;
    }
    fake_kernel::SetPhysicalBytes(kMB - 1, 1000);
    EXPECT_EQ(status.getStatusPhyAvaiPercent(), 0) << "under 1 MB installed gives a fixed value";
}

// The tray shows its own percentage of the two readings; wherever the
// engine's single-precision step is exact (and its KB figures do not
// saturate), it must be the engine's figure.
TEST_F(MemoryStatusTest, TheTrayPercentIsTheEnginesWhereverSinglePrecisionIsExact)
{
    CDMemoryStatus status;
    for (DWORDLONG totalMB : {1ull, 3ull, 100ull, 2047ull, 4095ull, 24576ull, 65536ull, 4194303ull}) {
        const DWORDLONG step = totalMB / 997 + 1;
        for (DWORDLONG availMB = 0; availMB <= totalMB; availMB += step) {
            fake_kernel::SetPhysicalBytes(totalMB * kMB, availMB * kMB);
            EXPECT_EQ(static_cast<int>(AvailablePercent(DWORD(availMB), DWORD(totalMB))),
                      status.getStatusPhyAvaiPercent())
                << availMB << " of " << totalMB;
        }
    }
}

TEST_F(MemoryStatusTest, OneQueryPerGetterAndTwoForThePercent)
{
    CDMemoryStatus status;
    status.getStatusPhyAvaiMB();
    EXPECT_EQ(fake_kernel::Snapshot().statusQueries, 1);
    status.getStatusPageTotalKB();
    EXPECT_EQ(fake_kernel::Snapshot().statusQueries, 2);
    status.getStatusPhyAvaiPercent();
    EXPECT_EQ(fake_kernel::Snapshot().statusQueries, 4);
}

TEST_F(MemoryStatusTest, SystemInfoGettersReturnTheirFieldsUnchanged)
{
    fake_kernel::Edit([](fake_kernel::Script& s) {
        s.info.wProcessorArchitecture = 9;
        s.info.wReserved = 0xBEEF;
        s.info.dwPageSize = 8192;
        s.info.lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
        s.info.lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0xFFFEFFFF);
        s.info.dwActiveProcessorMask = 0x5;
        s.info.dwNumberOfProcessors = 3;
        s.info.dwProcessorType = 586;
        s.info.dwAllocationGranularity = 65536;
        s.info.wProcessorLevel = 6;
        s.info.wProcessorRevision = 0x3A09;
    });
    CDSystemInfo info;
    EXPECT_EQ(info.getInfoProcessorArchitecture(), 9);
    EXPECT_EQ(info.getInfoReserved(), 0xBEEF);
    EXPECT_EQ(info.getInfoPageSize(), 8192u);
    EXPECT_EQ(info.getInfoMinimumApplicationAddressLP(), reinterpret_cast<LPVOID>(0x10000));
    EXPECT_EQ(info.getInfoMaximumApplicationAddressLP(), reinterpret_cast<LPVOID>(0xFFFEFFFF));
    EXPECT_EQ(info.getInfoActiveProcessorMask(), 5u);
    EXPECT_EQ(info.getInfoNumberOfProcessors(), 3u);
    EXPECT_EQ(info.getInfoProcessorType(), 586u);
    EXPECT_EQ(info.getInfoAllocationGranularity(), 65536u);
    EXPECT_EQ(info.getInfoProcessorLevel(), 6);
    EXPECT_EQ(info.getInfoProcessorRevision(), 0x3A09);
    EXPECT_EQ(fake_kernel::Snapshot().infoQueries, 11) << "a fresh query per getter";
}

TEST_F(MemoryStatusTest, CopiesAndAssignmentsStayUsable)
{
    fake_kernel::SetPhysicalBytes(64 * kMB, 32 * kMB);
    CDMemoryStatus original;
    CDMemoryStatus copy(original);
    CDMemoryStatus assigned;
    EXPECT_EQ(&(assigned = original), &assigned);
    EXPECT_EQ(copy.getStatusPhyAvaiMB(), 32u);
    EXPECT_EQ(assigned.getStatusPhyTotalMB(), 64u);
    CDSystemInfo info;
    CDSystemInfo infoCopy(info);
    EXPECT_EQ(&(info = infoCopy), &info);
    EXPECT_EQ(infoCopy.getInfoPageSize(), 4096u);
}
