// SANE's test backend produces each picture on a thread that asks for asynchronous
// cancellation, and cancels it at the end of every pass, often while it frees its buffer: the
// thread then leaves the allocator locked and the process hangs. A test program that compiles
// this file exports the function below (ENABLE_EXPORTS), so the backend gets it instead of the
// C library's and its thread is cancelled only where it waits (write, sleep).
#include "sanetestbackend.h"

#include <dlfcn.h>
#include <pthread.h>

extern "C" int pthread_setcanceltype(int, int* oldType)
{
    using SetCancelType = int (*)(int, int*);
    static const auto real = reinterpret_cast<SetCancelType>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
    return real(PTHREAD_CANCEL_DEFERRED, oldType);
}

void keepSaneTestBackendLoaded()
{
    dlopen(SANE_BACKEND_DIR "/libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
}
