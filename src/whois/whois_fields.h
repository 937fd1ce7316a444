// Reading one stored whois answer into the values a domain record keeps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"

namespace qv {

// What one parse of an answer yields.
struct WhoisFields {
  std::string source;        // the answering server named in the footer
  std::string availability;  // the verdict, upper-cased ("FREE", "TAKEN", ...)
  std::string status;        // upper-cased; the verdict when the answer states none
  std::string registrar;
  std::string domainId;
  std::string referralServer;  // the whois server the answer refers to
  Date expiryDate, createdDate, updatedDate;
  bool expiryFound = false, createdFound = false, updatedFound = false;
  std::string adminEmail, techEmail, billingEmail, ownerEmail;
  std::string ownerName;
  std::string organization;  // the registrant's organisation (RDAP answers)
  std::vector<std::string> nameServers;  // in the order found, as written
  std::string dateOrder;                 // the day/month order after parsing
};

// Parses a stored answer (server text plus source footer) with the settings
// of its source server: registrar, registry ID, status, verdict and referral
// server always; dates, e-mails, owner and name servers unless the name is
// free. The dates share one day/month order that starts as the server's; an
// order learned from the answer is written back into the server's record.
// A stored RDAP answer (JSON before the footer) is read as RDAP instead.
WhoisFields ParseWhoisFields(std::string_view storedAnswer);

}  // namespace qv
