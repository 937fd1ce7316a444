#include "whois/generic_tokens.h"

#include <map>

namespace qv {
namespace {

using List = std::vector<std::string_view>;

// Each list first holds the labels of the registries of the mid-2000s, in the
// order that has always been tried; labels of today's registries follow at
// the end, so an answer the older labels read is still read the same way.

const List kExpiry = {
    "Record will be expiring on date", "domain_datebilleduntil", "domain_date billed until",
    "registration-expiration", "Record expires on date", "Record will expire on",
    "Record expiring date", "Domain expiring date", "domain:Expiration", "Record expired on",
    "Record expires on", "Record expiring on", "Expiration Date", "Expiration date",
    "expiration date", "Renewal-Date", "Renewal Date", "Renewal date", "Expiry Date",
    "Expires on", "Expires On", "Expires:", "expires", "Expires", "Registered through",
    "\nexpire:",
    // Labels of today's registries.
    "Expiration Time:", "Expire Date", "Expiry date", "\nValid Until:",
};

const List kCreated = {
    "Domain Registration Date", "Domain record activated", "Record created date on",
    "Start of registration", "Start of Registration", "start of registration",
    "Date first registered", "Date of last registration", "domain_dateregistered",
    "domain:Registration", "Record created date", "Record create date", "Domain created on",
    "Record Created on", "Record created", "Date-Approved", "Registered on", "Creation Date",
    "Creation date", "creation date", "Created On", "Created on", "\ncreated:", "\nCreated:",
    "\nRegistered:", "Date registered",
    // Labels of today's registries.
    "Registration Time:", "\nregistered:", "\ncreated.", "Commencement Date",
    "First registration date", "Registered On", "Registration date", "[Registered Date]",
    "\nrecord created:", "\nDomain created:",
};

const List kUpdated = {
    "Domain Last Updated Date", "domain_datelastmodified", "Record last updated on",
    "Domain last updated on", "Record updated date on", "Date of last modification",
    "Record Last Updated", "Record last updated", "Last Updated On", "Last Modified",
    "Date-Modified", "Last updated:", "Last Updated:", "Last updated", "Updated Date",
    "Last Updated", "\nUpdated On:", "\nchanged",
    // Labels of today's registries.
    "Update Date", "\nChanged:", "Last Update:", "last modified", "\nmodified:", "\nmodified.",
    "Modification date", "[Last Update]", "\nLast modified", "\nUpdated:",
};

const List kRegistrar = {
    "Registrar:\n   Name:", "\nregistrar name:", "\nRegistrar Name:", "\nsponsoring registrar:",
    "\nSponsoring registrar:", "\nSponsoring Registrar:", "\nregistrar:", "\nRegistrar:",
    "\n   registrar:", "\n   Registrar:", "\n      Registrar:", "\nregistrar_name:", "\nsource:",
    "Registrant's Agent:", "Registrant's agent:", "\ndomain:Sponsor:", "Record maintained by",
    "record maintained by", "Registrar of Record:",
    // Labels of today's registries.
    "\nregistrar.", "\nRegistrar\t", "\nREGISTRAR:", "Registration Service Provider:",
    "\n  Registrar:", "\n    Registrar:", "\n\tRegistrar:", "\nRegistrar name:",
    "\nregistrar-name:", "\nSponsoring Registrar Organization:", "\nCurrent Registar:",
    "\n Registrar:",
};

const List kStatus = {
    "\n   Status:", "\nstatus:", "\nStatus:", "\nRecord Status:", "\nrecord status:",
    "\nRecord status:", "\nDomain Status:", "Registration Status:", "Registration status:",
};

const List kDomainId = {"Domain ID:", "Record ID:", "Domain ROID:"};

const List kWhoisServer = {
    "Whois Server:",
    // Labels of today's registries.
    "WHOIS Server:",
};

const List kNameServers = {
    "Domain servers in listed order", "Name servers listed in order",
    "Name Servers Listed In Order", "NS1-Hostname", "NS2-Hostname", "NS3-Hostname",
    "NS4-Hostname", "NS1-HostName", "NS2-HostName", "NS3-HostName", "NS4-HostName",
    "ns_name_01", "ns_name_02", "ns_name_03", "ns_name_04", "Domain name servers",
    "Domain nameservers", "Domain Nameservers", "Domain Name Servers", "Name Servers:",
    "Name servers:", "Name servers-", "Name Servers-", "Name servers", "Name Servers",
    "Name Server:", "Name Server-", "Name Server", "Name server", "name server", "nserver:",
    "Nserver:", "Nameservers:",
    // Labels of today's registries.
    "\nnserver.", "\nnameservers:", "Nameserver:", "\nHostname:", "\nNameservers", "\nDNS:",
    "\nPrimary server", "\nSecondary server",
};

const List kAdminEmail = {
    "Administrative, Technical & Billing Contact", "Administrative, Technical Contact",
    "Administrative, Technical, Billing Contact", "Administrative Contact Email",
    "Administrative Contact", "Administrative contact", "administrative contact", "[admin-c]",
    "admin-c", "Admin Email", "Admin-Mailbox", "admin_contact_email", "\nAdministrative",
};

const List kTechEmail = {
    "Administrative, Technical & Billing Contact", "Administrative, Technical Contact",
    "Administrative, Technical, Billing Contact", "Technical Contact Email",
    "technical_contact_email", "Technical Contact", "Technical contact", "Technical contact",
    "[tech-c]", "tech-c", "Tech Email", "Tech-Mailbox", "tech_contact_email", "\nTechnical",
};

const List kBillingEmail = {
    "Administrative, Technical & Billing Contact", "Administrative, Billing Contact",
    "Administrative, Technical, Billing Contact", "Technical, Billing Contact",
    "Billing Contact Email", "billing_contact_email", "Billing Contact", "Billing contact",
    "Billing contact", "[billing-c]", "billing-c", "Billing Email", "billing-Mailbox",
    "billing_contact_email", "\nBilling",
};

const List kOwnerEmail = {
    "registrant_contact_email", "Registrant Email", "Owner Email", "owner email",
    "Registrant Contact", "Registrant contact", "registrant contact", "Registrant:\n",
    "\nRegistrant", "Registrant\n",
};

const List kOwnerName = {
    "registrant_contact_name", "Registrant Name", "Registrant Contact", "Registrant Info:\n",
    "Registrant Info-\n", "Registrant:\n", "Registrant-\n", "Registrant:", "Registrant-",
    "Registrant\n", "Registrant", "\nowner", "\nOrganization", "\norganization",
};

}  // namespace

const std::vector<std::string_view>& GenericTokens(std::string_view settingsKey) {
  static const std::map<std::string_view, const List*> byKey = {
      {"Expiry Date Tokens", &kExpiry},
      {"Updated Date Tokens", &kUpdated},
      {"Registrar Name Tokens", &kRegistrar},
      {"Domain Status Tokens", &kStatus},
      {"Domain Whois Server Tokens", &kWhoisServer},
      {"Name Server Tokens", &kNameServers},
      {"Creation Date Tokens", &kCreated},
      {"Domain ID Tokens", &kDomainId},
      {"Admin Contact Email Tokens", &kAdminEmail},
      {"Tech Contact Email Tokens", &kTechEmail},
      {"Owner Contact Email Tokens", &kOwnerEmail},
      {"Billing Contact Email Tokens", &kBillingEmail},
      {"Owner Name Tokens", &kOwnerName},
  };
  static const List empty;
  const auto it = byKey.find(settingsKey);
  return it == byKey.end() ? empty : *it->second;
}

}  // namespace qv
