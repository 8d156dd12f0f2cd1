#pragma once

// The program's exit statuses beside success, which the manual page lists.
constexpr int iWorkFailed = 1;  // a file, the display, an answer or the output failed
constexpr int iUsageError = 2;  // the command line was wrong
