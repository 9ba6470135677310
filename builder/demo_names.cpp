#include "builder/demo_names.h"

#include <stdexcept>
#include <string_view>
#include <vector>

#include "i18n/leagues.h"

namespace morvela {

namespace {

// The syllables a language builds its place names from: a head and a tail.
struct Syllables {
  std::vector<std::string_view> heads;
  std::vector<std::string_view> tails;
};

const Syllables kGerman{
    {"Alten", "Linden", "Hohen", "Stein", "Birken", "Falken", "Eichen", "Roden", "Tannen", "Wester",
     "Mühl", "Hasel", "Grün", "Kirch", "Brunn", "Ebers", "Rosen", "Schön"},
    {"au", "dorf", "heim", "berg", "feld", "hausen", "bach", "stedt", "ingen", "brück", "tal",
     "wald"}};
const Syllables kDutch{{"Veld", "Zeven", "Oost", "Berk", "Helm", "Linde", "Dorre", "Hoog", "Brede",
                        "Ketel", "Molen", "Rijs", "Zand", "Loos", "Haren", "Wolde"},
                       {"dam", "hoven", "wijk", "broek", "veen", "dijk", "horst", "rode", "mond",
                        "lo", "zijl", "gem"}};
const Syllables kFrench{
    {"Belle", "Mont", "Roche", "Val", "Beau", "Cler", "Font", "Mar", "Champ", "Lan", "Bois",
     "Haute", "Riv", "Sauve", "Cour", "Ver"},
    {"ville", "court", "mont", "vert", "lac", "fort", "mare", "bourg", "lieu", "val", "nay", "ac"}};
const Syllables kItalian{{"Castel", "Monte", "Villa", "Borgo", "Porto", "Fiora", "Valle", "Pian",
                          "Colle", "Lago", "Serra", "Torre", "Rocca", "Campo", "Sasso", "Prato"},
                         {"nuovo", "bello", "rano", "fiore", "lina", "mare", "vecchio", "verde",
                          "franco", "alto", "secco", "lungo"}};
const Syllables kPortuguese{
    {"Calv", "Alv", "Mour", "Sant", "Rib", "Cast", "Ferr", "Bom", "Lou", "Barr", "Mir", "Oliv",
     "Tav", "Pen", "Serr", "Vid"},
    {"ão", "ela", "ares", "eira", "inho", "ada", "ais", "osa", "ide", "anda", "elo", "ança"}};
const Syllables kSpanish{
    {"Vald", "Alb", "Castr", "Mir", "Torr", "Olm", "Cerr", "Fuent", "Berm", "Nav", "Alcar",
     "Villar", "Montor", "Robl", "Sant", "Peñ"},
    {"ejo", "illo", "era", "ona", "ares", "ena", "osa", "ino", "eda", "ante", "illa", "uela"}};
const Syllables kEnglish{{"Ash", "Brook", "Hallow", "Thorn", "Fen", "Marl", "Oak", "Elm", "Stan",
                          "Whit", "Cran", "Sel", "Brad", "Lang", "Wes", "Holl"},
                         {"ford", "ham", "ton", "bury", "wick", "field", "ley", "borough", "stead",
                          "combe", "worth", "port"}};
const Syllables kScottish{
    {"Kirk", "Dun", "Glen", "Bal", "Inver", "Auch", "Strath", "Cairn", "Lang", "Ard", "Mon", "Fal"},
    {"lochy", "muir", "more", "brae", "ness", "ock", "burn", "side", "haven", "gowan", "field",
     "ton"}};
const Syllables kTurkish{
    {"Kara", "Yeni", "Ak", "Göl", "Kızıl", "Bey", "Çam", "Dere", "Eski", "Kuş", "Taş", "Yıldız",
     "Ova", "Bağ", "Deniz", "Sarı"},
    {"köy", "dere", "su", "tepe", "ova", "pınar", "kent", "yurt", "hisar", "bahçe", "kaya", "çay"}};
const Syllables kGreek{
    {"Ast", "Kal", "Mel", "Lef", "Kor", "Pyr", "Niki", "Theo", "Ark", "Dor", "Fil", "Ir"},
    {"ada", "inos", "ia", "ovouni", "opoli", "ena", "issa", "ani", "ochori", "akia", "itsa",
     "ousa"}};
const Syllables kRussian{{"Vyr", "Kras", "Sever", "Zar", "Belo", "Novo", "Ozer", "Lip", "Rud",
                          "Kamen", "Volzh", "Sosn", "Yar", "Kedr", "Medv", "Berez"},
                         {"ska", "ograd", "ovsk", "insk", "ets", "ino", "ovo", "yansk", "evo",
                          "gorsk", "ovets", "avka"}};
const Syllables kUkrainian{
    {"Zhov", "Kher", "Vysh", "Chorn", "Bil", "Slav", "Ros", "Lyv", "Hor", "Ternov", "Zol", "Stryi"},
    {"ivka", "yn", "horod", "ivtsi", "ove", "ychi", "ets", "opil", "any", "yk", "ivsk", "ytsia"}};
const Syllables kCzech{
    {"Hrad", "Bys", "Kam", "Lip", "Bor", "Chlum", "Mlad", "Stud", "Vys", "Třeb", "Kost", "Dub"},
    {"ec", "ov", "ice", "any", "ín", "ovice", "ava", "ník", "ná", "ějovice", "oš", "ětín"}};
const Syllables kSlovak{
    {"Pov", "Bys", "Hron", "Lip", "Dol", "Ruž", "Brez", "Kys", "Liet", "Turč", "Sen", "Vrb"},
    {"ovce", "any", "ica", "ín", "ov", "ná", "ec", "ava", "ovo", "ník", "iny", "ok"}};
const Syllables kDanish{
    {"Vest", "Sønder", "Nør", "Hol", "Frede", "Skov", "Bjerg", "Lund", "Vig", "Sand", "Stor",
     "Brønd"},
    {"by", "bæk", "holm", "strup", "lev", "sted", "rup", "skov", "høj", "vig", "borg", "kilde"}};
const Syllables kPolish{
    {"Wol", "Brzez", "Grab", "Lub", "Kros", "Sław", "Zal", "Dąb", "Ostr", "Pias", "Kam", "Rad"},
    {"ów", "owice", "no", "ice", "ówek", "ek", "ino", "awa", "owo", "any", "ienko", "ęcin"}};
const Syllables kRomanian{
    {"Bis", "Cor", "Vâl", "Tur", "Sig", "Făg", "Mor", "Băl", "Dum", "Pet", "Sân", "Olt"},
    {"ești", "eni", "ani", "ița", "ova", "ari", "ău", "oasa", "ata", "uța", "iu", "ina"}};

// A way a country names its clubs: a language's syllables and club name patterns, "{}" standing
// for the place.
struct Style {
  const Syllables* syllables;
  std::vector<std::string_view> patterns;
};

// The styles of each league, by league id - 1. Belgium and Switzerland name clubs in two
// languages.
const std::vector<std::vector<Style>>& LeagueStyles() {
  static const std::vector<std::vector<Style>> styles = {
      {{&kGerman, {"SK {}", "SV {}", "FC {}", "ASK {}", "Union {}", "SC {}", "FC Blau-Weiß {}"}}},
      {{&kDutch, {"KV {}", "KSV {}", "SK {}", "KVC {}", "Sporting {}"}},
       {&kFrench, {"RFC {}", "Royal {}", "RAS {}", "RCS {}", "Olympic {}"}}},
      {{&kCzech,
        {"FK {}", "SK {}", "Slavoj {}", "Baník {}", "Viktoria {}", "TJ {}", "1. FC {}",
         "Slovan {}"}}},
      {{&kEnglish,
        {"{} Town", "{} United", "{} City", "{} Rovers", "{} Athletic", "{} Wanderers", "{} Albion",
         "AFC {}", "{}"}}},
      {{&kFrench,
        {"FC {}", "AS {}", "Olympique {}", "Stade {}", "SC {}", "US {}", "RC {}", "AJ {}",
         "EA {}"}}},
      {{&kGerman,
        {"FC {}", "SV {}", "VfL {}", "TSV {}", "1. FC {}", "SpVgg {}", "Eintracht {}", "VfB {}",
         "SC {}", "Fortuna {}"}}},
      {{&kItalian,
        {"{}", "AC {}", "US {}", "SS {}", "FC {}", "Calcio {}", "Virtus {}", "Sporting {}"}}},
      {{&kDutch, {"FC {}", "SC {}", "VV {}", "SV {}", "Sparta {}", "Quick {}", "{} Boys"}}},
      {{&kPortuguese,
        {"Sporting {}", "SC {}", "CD {}", "GD {}", "FC {}", "União {}", "Desportivo {}", "Clube {}",
         "Académico {}"}}},
      {{&kScottish,
        {"{} Thistle", "{} Athletic", "{} United", "{} Rovers", "{} FC", "{} Albion", "{} Star"}}},
      {{&kSpanish,
        {"CD {}", "UD {}", "Real {}", "Atlético {}", "Racing {}", "SD {}", "CF {}", "Deportivo {}",
         "Club {}"}}},
      {{&kTurkish,
        {"{}spor", "{} Belediyespor", "{} FK", "{} Gençlik", "{} İdman Yurdu", "{} SK", "{}gücü"}}},
      {{&kGreek,
        {"AO {}", "AE {}", "PAS {}", "Asteras {}", "Ethnikos {}", "Apollon {}", "Doxa {}",
         "Iraklis {}"}}},
      {{&kRussian,
        {"Dinamo {}", "Lokomotiv {}", "Torpedo {}", "Spartak {}", "Metallurg {}", "FK {}",
         "Khimik {}", "Rotor {}", "Fakel {}", "Sokol {}"}}},
      {{&kSlovak,
        {"MFK {}", "FK {}", "ŠK {}", "Tatran {}", "Slovan {}", "Spartak {}", "FC {}", "TJ {}"}}},
      {{&kGerman, {"FC {}", "SC {}", "FC {} 1896", "Concordia {}"}},
       {&kFrench, {"FC {}", "FC Stade {}", "US {}", "AC {}"}}},
      {{&kDanish, {"{} IF", "{} BK", "{} FC", "FC {}", "{} Boldklub", "{} Fremad"}}},
      {{&kPolish,
        {"Górnik {}", "Stal {}", "Polonia {}", "KS {}", "Ruch {}", "Unia {}", "Olimpia {}",
         "Sokół {}", "MKS {}"}}},
      {{&kRomanian,
        {"FC {}", "CS {}", "Sportul {}", "Gloria {}", "Metalul {}", "Unirea {}", "Viitorul {}",
         "CSM {}", "Progresul {}"}}},
      {{&kUkrainian,
        {"FK {}", "Nyva {}", "Kolos {}", "Metalurh {}", "Avanhard {}", "Dynamo {}", "Enerhiya {}",
         "Khimik {}"}}},
  };
  return styles;
}

std::string Pick(const std::vector<std::string_view>& items, DemoRandom& rng) {
  return std::string(items[static_cast<size_t>(rng.Below(static_cast<int>(items.size())))]);
}

std::string Fill(std::string_view pattern, const std::string& place) {
  std::string name(pattern);
  return name.replace(name.find("{}"), 2, place);
}

}  // namespace

ClubNamer::ClubNamer(int league) : league_(league) {
  if (league < 1 || league > kLeagueCount)
    throw std::out_of_range("no league " + std::to_string(league));
}

std::string ClubNamer::Next(DemoRandom& rng) {
  const std::vector<Style>& styles = LeagueStyles()[static_cast<size_t>(league_ - 1)];
  // A fresh place is found within a few draws while the league has used few of its ~150
  // places; later, a known place with another pattern is as good.
  constexpr int kFreshPlaceTries = 40;
  constexpr int kGiveUp = 100000;  // far beyond the few dozen names a league needs
  for (int attempt = 0; attempt < kGiveUp; ++attempt) {
    const Style& style = styles[static_cast<size_t>(rng.Below(static_cast<int>(styles.size())))];
    const std::string place = Pick(style.syllables->heads, rng) + Pick(style.syllables->tails, rng);
    if (attempt < kFreshPlaceTries && places_.count(place)) continue;
    std::string name = Fill(Pick(style.patterns, rng), place);
    if (names_.count(name)) continue;
    places_.insert(place);
    names_.insert(name);
    return name;
  }
  throw std::runtime_error("no more club names for league " + std::to_string(league_));
}

}  // namespace morvela
