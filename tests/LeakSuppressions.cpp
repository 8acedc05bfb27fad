// Leak reports LeakSanitizer must not raise in test processes (it reads these functions at start).
//
// OpenSSL keeps per-thread state (random generators, the error queue) that it frees when a thread
// ends. Qt's network thread is waited for when its manager goes, but it finishes ending only
// after that, and a process that exits in between leaves the state behind: a race inside Qt and
// OpenSSL, in every program that used TLS, and no leak of ours. Our code never allocates through
// libcrypto.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_options();

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libcrypto.so\n";
}

// A suppressed report is not worth a summary: a test reads some programs' output.
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
