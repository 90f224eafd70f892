// Fontconfig keeps its caches until the process ends and never frees them; the leak checker
// would report that on every test that draws text. Only leaks from inside fontconfig are
// passed over: ours are still reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
