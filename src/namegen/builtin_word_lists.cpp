#include "namegen/builtin_word_lists.h"

#include <utility>

#include "platform/ascii.h"

namespace qv {
namespace {

// Entries separated by blanks; "pet-" goes before a keyword, "-web" after
// it, "farm" either side. The same entry may be listed twice.
const std::pair<const char*, const char*> kLists[] = {
    {"agriculture",
     "farm ranch cowboy dairy -digest -report -online -web -net crop harvest grain organic "
     "tractor -world -today -news -supply -market -center"},
    {"animals",
     "-planet pet- -web -net -world -pets -focus animal- happy- wild- furry- zoo paws critter "
     "-care -vet -club -house -land -town -place -shop -store -central -corner -zone -hub -life "
     "-love -friends -den -nest -times"},
    {"architecture",
     "design build -plans -studio -works -group -homes -space -form -lines -structures -drafts "
     "-concepts -interiors -spaces -house -urban -models -blueprint -projects"},
    {"beauty",
     "pretty- glam- pure- fresh- glow- silk- -salon -spa -style -look -skin -care -beauty -nails "
     "-hair -cosmetics -makeup -glow -shop -studio -lounge -world -net -web -bar -boutique"},
    {"business",
     "biz trade pro -inc -corp -group -partners -solutions -services -consulting -ventures "
     "-capital -works -hq -network -net -web -online -center -company -link -direct"},
    {"car",
     "my- auto motor drive wheels speed ride -cars -dealer -parts -garage -repair -rental -sales "
     "-lot -zone -world -net -web -center -club -direct -depot -shop"},
    {"communications",
     "-talk -call -link -connect -voice -phone -mobile -wireless -signal -net -com -wave"},
    {"computers",
     "pc tech cyber -systems -soft -ware -data -bits -bytes -logic -labs -works -zone -world -net "
     "-web -center -direct -depot -store -help -support -repair -geek -guru"},
    {"education",
     "learn- study- smart- kids- -academy -school -college -university -institute -tutor "
     "-learning -class -courses -online -campus -edu -books -library -center -world -net"},
    {"electronics",
     "e- digital- smart- micro- electro- -tronics -gadgets -devices -circuit -parts -store -shop "
     "-depot -direct -world"},
    {"food", "tasty- -food -eats -kitchen -recipes -cafe -grill -menu"},
    {"hosting",
     "fast- cheap- my- host server cloud site -hosting -hosts -servers -space -net -web -online "
     "-center -box"},
    {"industrial",
     "pro- steel metal -industries -industrial -manufacturing -machines -tools -equipment "
     "-supply -works -factory -plant -systems -group -corp -net -web -direct -center"},
    {"internet",
     "net -online -web -site -link -zone -hub -portal -world -central -space -click -spot"},
    {"law",
     "legal law justice attorney counsel -lawyers -lawyer -firm -group -associates -partners "
     "-advice -help -office -center -net -web -online -guide -rights -defense -claims"},
    {"media",
     "new- mega- big- hot- media news -press -tv -radio -video -films -studio -channel "
     "-broadcast -network -daily -times -net -web -online"},
    {"music",
     "hot- my- top- music tune beat sound -world -net -songs -tunes -beats -records -radio -band "
     "-mix -world -net -zone -fm -live"},
    {"photography",
     "snap- digi- pro- my- photo pixel foto -photos -pics -images -gallery -studio -camera -lens "
     "-shots -prints -frames -art -world -net -web -online -center -zone"},
    {"portal",
     "-portal -gateway -directory -guide -index -links -search -finder -central -hub -world -net "
     "-web -online -zone -place -spot -site -home -start -point -city -land -planet -universe "
     "-nation -star -base -square -plaza"},
    {"science",
     "bio- science lab -labs -research -tech -institute -journal -facts -data -physics "
     "-chemistry -biology -genetics -nano -space -world -net -web -online -center -zone -hub "
     "-today"},
    {"security",
     "secure safe -guard -lock -shield -alarm -watch -protect -defense -safety -systems -net -web "
     "-center"},
    {"shop",
     "-mart -shop -world -net planet -web great- fab- -store -outlet -deals -bargains -market "
     "-depot -direct"},
    {"software",
     "easy- smart- open- soft code -software -apps -ware -tools -systems -labs -works -dev "
     "-source -download -downloads -utilities -programs -solutions -studio -logic -bits -games "
     "-plus -pro -suite -kit -net -web -online -center -zone -hub -shop -depot"},
    {"sports",
     "pro- super- team- fan- sport game play -sports -fans -team -league -club -arena -stadium "
     "-zone -world -net -web -central -nation -gear -shop -store -news -scores -tickets -field "
     "-court -fitness -training"},
    {"transportation",
     "fast- express- global- city- metro- air- -transport -transit -freight -cargo -shipping "
     "-logistics -trucking -trucks -rail -bus -taxi -limo -movers -delivery -express -lines "
     "-fleet -net -web"},
    {"travel",
     "cheap- go- fly- holiday- my- travel trip -tours -trips -vacations -holidays -flights "
     "-hotels -resorts -cruises -tickets -deals -guide -agent -getaway -escape -world -net -web "
     "-online -center -planet"},
    {"web design",
     "pro- creative- smart- pixel- my- design -designs -designer -studio -studios -creative "
     "-graphics -pixels -web -sites -pages -layout -templates -themes -media -works -lab -labs "
     "-art -craft -factory -house -group -solutions -net -online -center -zone -hub -ink"},
};

}  // namespace

const std::vector<std::string>& WordSetNames() {
  static const std::vector<std::string> names = {
      "education", "transportation", "business", "sports",   "car",         "portal",
      "computers", "animals",        "electronics", "industrial", "internet", "media",
      "hosting",   "adult",          "music",    "web design", "beauty",    "communications",
      "software",  "architecture",   "science",  "food",     "travel",      "agriculture",
      "law",       "photography",    "security", "shop",     "custom"};
  return names;
}

std::optional<std::string> BuiltinWordList(std::string_view setName) {
  for (const auto& [name, entries] : kLists) {
    if (!EqualsNoCase(name, setName)) continue;
    std::string text;
    std::string_view rest = entries;
    while (!rest.empty()) {
      const std::size_t blank = rest.find(' ');
      text.append(rest.substr(0, blank)).append("\r\n");
      rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
    }
    return text;
  }
  return std::nullopt;
}

}  // namespace qv
