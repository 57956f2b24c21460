// Standard output as the GNU C library sets it up by itself, for the programs
// to print the same bytes in the same order on every C library: line-buffered
// on a terminal, fully buffered elsewhere (musl would decide at its first
// flush, after the first line had gone out), and on Windows binary, so that
// "\n" stays one byte. Called before any output.
#ifndef ZU_RUNNERS_STANDARD_OUTPUT_H
#define ZU_RUNNERS_STANDARD_OUTPUT_H

#include <stdio.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

static void set_up_standard_output(void)
{
#ifdef _WIN32
    _setmode(1, _O_BINARY);
    const int terminal = _isatty(1);
#else
    const int terminal = isatty(1);
#endif
    // A null buffer leaves its size to the C library, as it would choose it.
    setvbuf(stdout, nullptr, terminal != 0 ? _IOLBF : _IOFBF, BUFSIZ);
}

#endif
