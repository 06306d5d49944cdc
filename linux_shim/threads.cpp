#include <windows.h>

#include <pthread.h>
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <new>

namespace {

struct ThreadStart {
    LPTHREAD_START_ROUTINE routine;
    LPVOID parameter;
};

void* RunThread(void* raw)
{
    const ThreadStart start = *static_cast<ThreadStart*>(raw);
    delete static_cast<ThreadStart*>(raw);
    start.routine(start.parameter);
    return nullptr;
}

struct ThreadHandle {
    pthread_t thread;
};

} // namespace

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE routine,
                           LPVOID parameter, DWORD, LPDWORD threadId)
{
    auto* start = new (std::nothrow) ThreadStart{routine, parameter};
    auto* handle = new (std::nothrow) ThreadHandle{};
    if (!start || !handle) {
        delete start;
        delete handle;
        return nullptr;
    }
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    if (stackSize)
        pthread_attr_setstacksize(&attributes, stackSize);
    const int failed = pthread_create(&handle->thread, &attributes, RunThread, start);
    pthread_attr_destroy(&attributes);
    if (failed) {
        delete start;
        delete handle;
        return nullptr;
    }
    if (threadId)
        *threadId = 0;
    return handle;
}

// Only thread handles exist here; closing one lets the thread end on its own.
BOOL WINAPI CloseHandle(HANDLE raw)
{
    auto* handle = static_cast<ThreadHandle*>(raw);
    if (!handle)
        return FALSE;
    pthread_detach(handle->thread);
    delete handle;
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds)
{
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec left{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) == -1 && errno == EINTR) {
    }
}

void WINAPI OutputDebugStringA(LPCSTR text)
{
    std::fputs(text, stderr);
}
