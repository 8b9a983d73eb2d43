#include "fake_routines.h"

#include <cstdio>
#include <cstdlib>

static FakeRoutines *activeRoutines = nullptr;

FakeRoutines::FakeRoutines() = default;
FakeRoutines::~FakeRoutines() = default;

void SetActiveRoutines(FakeRoutines *routines)
{
    activeRoutines = routines;
}

FakeRoutines &ActiveRoutines()
{
    if (activeRoutines == nullptr) {
        std::fprintf(stderr, "another subsystem's routine was called outside a RoutinesTest\n");
        std::abort();
    }
    return *activeRoutines;
}
