// Reading a file of names for an import, from the window or the command line:
// the checks made before anything is written, and the file read piece by piece
// so that a file of any size (or an endless pipe) never has to fit in memory.
#pragma once

#include <QFile>
#include <QString>

#include "store/add_names.h"

namespace qv {

// The reader AddNamesFromStream takes, over an open file.
ReadNamesChunk ChunkReaderOf(QFile& file);

// Why names cannot be added to the document at `docPath` (an existing file
// this user may not write, or the name file being the document itself);
// empty when they can.
QString ImportRefusal(const QString& docPath, const QString& namesPath);

}  // namespace qv
