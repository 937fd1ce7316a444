// Helpers of the command and command-line tests: input files in the work
// folder, refused command lines and the pages of the sites the tests play.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTest>
#include <string>

#include "support/program_run.h"
#include "test_file_support.h"

namespace qvtest {

// The path of `name` in the work folder, written with `bytes`; the test
// fails when it could not be written whole.
inline QString WorkFile(const QString& name, const QByteArray& bytes) {
  const QString path = WorkPath(name);
  if (!WriteBytes(path, bytes)) QTest::qFail(qPrintable("cannot write " + path), __FILE__, __LINE__);
  return path;
}

// "name0<suffix>", "name1<suffix>", ... one a line.
inline QByteArray NumberedNames(int count, const QByteArray& suffix = ".com") {
  QByteArray text;
  for (int i = 0; i < count; ++i) text += "name" + QByteArray::number(i) + suffix + '\n';
  return text;
}

// A command line the program refused: it exited with `exitCode`, printed
// nothing and said why on stderr.
inline void VerifyRefused(const ProgramOutcome& o, int exitCode = 2) {
  QCOMPARE(o.exitCode, exitCode);
  QVERIFY2(o.out.isEmpty(), o.out.constData());
  QVERIFY(!o.err.isEmpty());
}

// An HTTP answer with the HTML page `body`; the connection closes after it.
inline std::string HttpPage(const std::string& body, const char* status = "200 OK") {
  return std::string("HTTP/1.1 ") + status + "\r\nContent-Type: text/html\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace qvtest
