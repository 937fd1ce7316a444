// The "Lookup" dialog of "Lookup All (with options)...": which checks a
// lookup run makes, over which names, and how old a name's whois data must
// be before it is looked up again. Its choices are kept in the settings.
#pragma once

#include <QDialog>

#include "lookup/lookup_run.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace qv {

class LookupCheckGroup;

// The run options as stored (section "Settings").
inline constexpr const char* kRunDnsKey = "DNS Lookup";
inline constexpr const char* kRunWhoisKey = "Whois Lookup";
inline constexpr const char* kRunPingKey = "Ping Check";
inline constexpr const char* kRunHttpKey = "Http Page Check";
inline constexpr const char* kRunLinkPopKey = "Link Pop Check";
inline constexpr const char* kRunUsTmKey = "US Tm Check";
inline constexpr const char* kLookupGapKey = "Lookup Gap";
inline constexpr const char* kLookupModeKey = "Lookup Mode";
inline constexpr int kLookupGapDefault = 1440;

enum class LookupMode { SelectedDomains = 0, AllDomains = 1 };

// What the dialog shows and returns.
struct LookupDialogValues {
  bool dns = true;
  bool whois = true;
  bool ping = false;
  bool http = false;
  bool linkPop = false;
  bool usTm = false;
  int gapMinutes = kLookupGapDefault;
  LookupMode mode = LookupMode::AllDomains;

  static LookupDialogValues Load();
  void Save() const;
  bool AnyCheck() const { return dns || whois || ping || http || linkPop || usTm; }
  // The kinds and the gap of the run these values start.
  LookupRunOptions RunOptions() const;
};

class CLookupDialog : public QDialog {
  Q_OBJECT

 public:
  // The six checks in the order the dialog lists them.
  enum Check { kDns, kWhois, kPing, kHttp, kLinkPop, kUsTm, kCheckCount };

  explicit CLookupDialog(const LookupDialogValues& values, QWidget* parent = nullptr);

  LookupDialogValues Values() const;
  // A check the engine cannot run yet is shown disabled and unticked, is left
  // alone by "Select / Unselect All" and comes back off.
  void SetOffered(Check check, bool offered);

  QCheckBox* CheckBox(Check check) const;
  QCheckBox* SelectAllBox() const;
  QRadioButton* SelectedRadio() const { return selected_; }
  QRadioButton* AllRadio() const { return all_; }
  QSpinBox* GapBox() const { return gap_; }

 private:
  LookupCheckGroup* checks_ = nullptr;
  QRadioButton* selected_ = nullptr;
  QRadioButton* all_ = nullptr;
  QSpinBox* gap_ = nullptr;
};

}  // namespace qv
