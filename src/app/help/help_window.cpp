#include "app/help/help_window.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// Qt registers the resources of a static library only when asked; the call
// must be made from the global namespace.
static void InitHelpResource() { Q_INIT_RESOURCE(help); }

namespace qv {

QString AboutText(const QString& version) {
  return QObject::tr(
             "<h3>Quorvel %1</h3>"
             "<p>Keeps a list of domain names and watches their whois, DNS and web data.</p>"
             "<p>Copyright &copy; Tembrix. Quorvel is free software: you can redistribute it and/or "
             "modify it under the terms of the GNU General Public License as published by the Free "
             "Software Foundation, either version 3 of the License, or (at your option) any later "
             "version (GPL-3.0-or-later). It comes with ABSOLUTELY NO WARRANTY.</p>"
             "<p>The whois server tables were assembled from:</p><ul>"
             "<li>the Debian <i>whois</i> client by Marco d'Itri, tld_serv_list and new_gtlds_list "
             "(GPL-2+);</li>"
             "<li>the IANA root zone database WHOIS field, as collected by the npm package "
             "whoisserver-world (ISC);</li>"
             "<li>the IANA list of top-level domains, npm package tlds (MIT);</li>"
             "<li>the Public Suffix List, Debian package publicsuffix (MPL-2.0);</li>"
             "<li>Net::Whois::Raw, Net/Whois/Raw/Data.pm (Artistic or GPL-1+);</li>"
             "<li>HelgeSverre/Domain-Availability, servers.json (MIT).</li></ul>"
             "<p>Built with Qt, SQLite and libgcrypt.</p>")
      .arg(version.toHtmlEscaped());
}

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent) {
  InitHelpResource();
  setWindowTitle(tr("Quorvel Help"));
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl(QString::fromLatin1(kHelpPageUrl)));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 1);
  layout->addWidget(buttons);
  resize(760, 640);
}

}  // namespace qv
