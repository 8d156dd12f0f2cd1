#pragma once

// The picture as a PNG file: 8-bit RGB, top row first, the colours of the hits as the window
// shows them, and the parameters of the run in text chunks, so that the file says how to
// make it again. A file is written whole or not at all: into a file with no name beside it,
// which takes the file's name only once it is complete.

#include "core/run.h"
#include "files/genome_file.h"

#include <string>

class CCalculation;

// Whether a picture could be saved at sPath: it names no file, or a regular file (through any
// symbolic links), and its folder takes new files. Tried at once, before a long computation. On
// failure, sError is "PATH: reason".
bool checkSavable(const std::string& sPath, std::string& sError);

// Writes the picture of calc's hits so far, the first iDone iterations of its run, in its
// colouring, with its parameters, to sPath, in place of the regular file there if any (the file
// a link names; its permission bits kept). The colours are made row by row as the file is
// written: a picture costs its counts and no more. On failure, sError is "PATH: reason", the
// file at sPath is as it was and nothing else is left.
bool savePicture(const std::string& sPath, const CCalculation& calc, int iDone,
                 std::string& sError);

// Writes the picture to a new file of the current folder named after the run, such as
// flame-p3-c4-5000000-1700000000.png (a run in progress: the iterations done so far), or with
// -2, -3, ... added where that name is taken; no file is ever replaced. sName gets the name it
// was saved under.
bool savePictureAsNew(const CCalculation& calc, int iDone, std::string& sName,
                      std::string& sError);

// What a saved picture records: a run and its colouring, or the genome it keeps (a picture of
// this program's, or flam3's), over the values it holds. Refused as readRecordedRun refuses.
struct SRecordedPicture {
    bool            bGenome = false;
    SRun            run;
    int             iColourType = 1;
    SRecordedGenome genome;
};
bool readRecordedPicture(const std::string& sPath, SRecordedPicture& recorded,
                         std::string& sError);

// The run and colouring that a picture saved by this program records (readRecord), over the
// values run and iColourType hold. A file that is not a PNG, or lacks or garbles a chunk, is
// refused: sError is "PATH: reason".
bool readRecordedRun(const std::string& sPath, SRun& run, int& iColourType, std::string& sError);
