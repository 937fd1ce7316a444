// Writes one kind of settings file over and over until it is killed, for the
// crash-safety test: each write alternates between two known contents.
//
//   qv_settings_writer namepad FILE   the scratch list file, through SaveNamePad
//   qv_settings_writer server         a whois server's record, through its Save
//
// The process's settings and data folders come from XDG_CONFIG_HOME and
// XDG_DATA_HOME, as for the program. It prints "writing" once the first write
// is done.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "kill_contents.h"
#include "platform/settings_store.h"
#include "store/name_pad.h"
#include "whois/server_directory.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const bool namePad = argc == 3 && std::strcmp(argv[1], "namepad") == 0;
  if (!namePad && !(argc == 2 && std::strcmp(argv[1], "server") == 0)) {
    std::fprintf(stderr, "usage: qv_settings_writer namepad FILE | server\n");
    return 2;
  }
  for (unsigned long i = 0;; ++i) {
    const bool even = i % 2 == 0;
    if (namePad) {
      if (!qv::SaveNamePad(qvkill::Pad(even), argv[2])) return 1;
    } else {
      qvkill::SaveServer(even);
    }
    if (i == 0) {
      std::printf("writing\n");
      std::fflush(stdout);
    }
  }
}
