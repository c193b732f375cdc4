// Preloaded into the program in the sanitizer test run: keeps shared
// libraries loaded until the process ends. The program ends through exit with
// its GL context open; freeglut then closes the display and Mesa unloads its
// driver before the leak check runs, so the driver's blocks would be reported
// from a module without a name that no suppression can match. With the
// driver still mapped they carry its name and match the suppressions, which
// name only Mesa's and X's libraries. Nothing of the program is hidden.
extern "C" int dlclose(void* /*handle*/)
{
    return 0;
}
