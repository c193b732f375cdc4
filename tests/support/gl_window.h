// The program's own window, opened in the test process on a real X server,
// and reading its pixels back, from GL and from the X server.
#pragma once

#include <gtest/gtest.h>

#include "xdriver.h"

// Opens the window once per process (with the program's callbacks and GL
// state) and waits until it is mapped. Starts Xvfb when there is no display.
void openTestWindow();

// Puts the scene back to its start-up state and the view to no turn.
void resetScene();

// Processes pending window-system events for about the given time.
void pumpEvents(int milliseconds);

// Reads the whole window from the given GL buffer (GL_BACK: what drawScene drew
// last), rows top to bottom like a grab from X.
xdriver::Image readPixels(unsigned buffer);

// Reads what the X server shows in the window now, after the latest swap.
xdriver::Image readWindowOnScreen();

// Tests in the program's window: the window opens once per process; each test
// starts from the scene's start-up state with the view not turned.
class WindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() { openTestWindow(); }
    void SetUp() override { resetScene(); }
};
