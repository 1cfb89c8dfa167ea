// Qt looks a family up in its substitution table when no installed face has that name, so the
// table only speaks for faces this machine lacks.
#include "platform/FontFaces.h"

#include <QFont>
#include <QStringList>

namespace vornplatform {
namespace {

struct FaceEntry {
  const char* windowsFace;
  const char* const* installed;
};

// Liberation Serif, Sans and Mono share the metrics of Times New Roman, Arial and Courier New;
// the dialog and system faces are about as wide as Arial. The console faces have no free twin
// and go to the monospaced DejaVu face, as wide as Lucida Console.
const char* const kSerif[] = {"Liberation Serif", "DejaVu Serif", nullptr};
const char* const kSans[] = {"Liberation Sans", "DejaVu Sans", nullptr};
const char* const kMono[] = {"Liberation Mono", "DejaVu Sans Mono", nullptr};
const char* const kConsole[] = {"DejaVu Sans Mono", "Liberation Mono", nullptr};

const FaceEntry kFaces[] = {
    {"Times New Roman", kSerif},
    {"Times", kSerif},
    {"Arial", kSans},
    {"Helvetica", kSans},
    {"MS Sans Serif", kSans},
    {"MS Shell Dlg", kSans},
    {"System", kSans},
    {"Courier New", kMono},
    {"Courier", kMono},
    {"Lucida Console", kConsole},
    {"VT100", kConsole},
    {"Terminal", kConsole},
    {"Fixedsys", kConsole},
};

}  // namespace

void installFaceSubstitutes() {
  for (const FaceEntry& entry : kFaces) {
    QStringList installed;
    for (const char* const* face = entry.installed; *face; ++face)
      installed << QString::fromLatin1(*face);
    QFont::insertSubstitutions(QString::fromLatin1(entry.windowsFace), installed);
  }
}

}  // namespace vornplatform
