#include "platform.h"

#include "fake_kernel.h"

namespace sequences::platform {

bool IsFake() { return true; }

void Begin(const Sequence& sequence)
{
    fake_kernel::Reset();
    const Machine& m = sequence.machine;
    fake_kernel::SetPhysicalBytes(m.totalMB * fake_kernel::kMB, m.availMB * fake_kernel::kMB);
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.status.ullTotalPageFile = m.pageFileMB * fake_kernel::kMB;
        s.status.ullAvailPageFile = m.pageFileMB * fake_kernel::kMB;
        s.liveBlockLimit = m.liveBlockLimit;
        s.refuseAllocPermille = m.refuseAllocPermille;
        s.refuseReleasePermille = m.refuseReleasePermille;
        // Fewer refusals in a row than the engine's attempts at one block,
        // so every block goes back in the end.
        s.releaseRefusalsInARow = 4;
        s.refusalSeed = m.refusalSeed;
    });
    if (sequence.serialised)
        fake_kernel::BeginSerialised();
}

void End()
{
    fake_kernel::EndSerialised();
    fake_kernel::JoinThreads();
}

int Enlist() { return fake_kernel::Enlist(); }
void ParkIdle(int id) { fake_kernel::ParkIdle(id); }
void Wake(int id) { fake_kernel::Wake(id); }
bool IsIdle(int id) { return fake_kernel::IsIdle(id); }
void Leave(int id) { fake_kernel::Leave(id); }

Slice RunSlice(std::uint64_t choice)
{
    // Real time, and generous for the same reason as the runner's bounds.
    switch (fake_kernel::RunSlice(choice, 300000)) {
    case fake_kernel::Slice::Ran: return Slice::Ran;
    case fake_kernel::Slice::Quiet: return Slice::Quiet;
    case fake_kernel::Slice::Stuck: break;
    }
    return Slice::Stuck;
}

std::uint64_t NowMs() { return fake_kernel::NowMs(); }
std::vector<std::string> Faults() { return fake_kernel::Faults(); }
int LiveBlocks() { return fake_kernel::LiveBlocks(); }
int WorkersOn(const void* object) { return fake_kernel::WorkersOn(object); }

} // namespace sequences::platform
