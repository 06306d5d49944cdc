#include "freeing_run.h"

#include <algorithm>
#include <vector>

namespace {

// Every holder of the program; the user-interface thread alone uses them.
std::vector<FreeingRun*>& Holders()
{
    static std::vector<FreeingRun*> holders;
    return holders;
}

} // namespace

FreeingRun::FreeingRun()
{
    m_engine.emplace();
    Holders().push_back(this);
}

FreeingRun::~FreeingRun()
{
    auto& holders = Holders();
    holders.erase(std::remove(holders.begin(), holders.end(), this), holders.end());
}

bool FreeingRun::AnyInProgress()
{
    const auto& holders = Holders();
    return std::any_of(holders.begin(), holders.end(),
                       [](FreeingRun* holder) { return holder->InProgress(); });
}

void FreeingRun::EndAll()
{
    for (FreeingRun* holder : Holders()) {
        holder->m_engine.reset();
        holder->m_engine.emplace();
    }
}
