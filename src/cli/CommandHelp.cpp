#include "cli/CommandHelp.h"

#include <array>

#include "map/RoadStroke.h"
#include "map/TerrainCodes.h"
#include "picture/MapPicture.h"

namespace {

constexpr std::string_view Introduction =
    "valtea-map: ヴァルテアの地図ファイル MAPDATA.VLT を調べ、絵にし、比べ、\n"
    "テキスト形式で読み書きし、道路を直して敷きます。\n"
    "コマンドごとの説明: valtea-map help コマンド、または valtea-map コマンド --help\n";

// In the order a player meets them; the examples of diff, patch, export and
// import use each other's files.
constexpr std::array<CommandHelp, 14> Commands = {{
    {"info", "valtea-map info MAP",
     "      地形ごとの数 (コード、記号、名前)、道路、橋、町、城、35 以上のバイト\n"
     "      とそのオフセット、26576 バイトでなければファイルの大きさ。\n",
     "valtea-map info MAPDATA.VLT"},
    {"check", "valtea-map check MAP",
     "      道路網の検査: つながらない道路を 1 件 1 行で、最後に件数。\n",
     "valtea-map check MAPDATA.VLT"},
    {"network", "valtea-map network MAP [--from CELL]",
     "      道路がどの場所 (港湾、御所、城、町) をつなぐか: 2 つ以上の場所をつなぐ\n"
     "      道路網ごとに見出しとその場所を大きい順に、次にほかの場所へ道が\n"
     "      つながっていない場所、最後に数。--from では場所 CELL から道で\n"
     "      つながる場所を近い順に、何歩先かと一緒に示します。\n",
     "valtea-map network MAPDATA.VLT --from 182:26"},
    {"render", "valtea-map render MAP OUT.png [--scale N] [--problems] [--networks]",
     "      地図全体の絵 (PNG)。N は半行あたりの点の数 ({scales})。\n"
     "      --problems では検査の問題を赤い輪で囲みます。--networks では 2 つ以上の\n"
     "      場所をつなぐ道路網を網ごとの色で、場所に届かない道路と道の来ない場所を\n"
     "      警告の色で描いて輪で囲みます。\n",
     "valtea-map render MAPDATA.VLT map.png --problems"},
    {"diff", "valtea-map diff OLD NEW [--patch OUT]",
     "      違うバイトを 1 バイト 1 行で (マス、オフセット、前の記号とコード ->\n"
     "      後の記号とコード)、最後に件数。--patch では OUT にパッチも書きます:\n"
     "      OUT.txt はこの表示そのもの (UTF-8)、OUT.bps は BPS、OUT.ips は IPS。\n",
     "valtea-map diff MAPDATA.VLT.bak MAPDATA.VLT --patch mod.txt"},
    {"patch", "valtea-map patch MAP PATCH... [--dry-run] [--ours | --theirs]",
     "      テキスト、BPS か IPS のパッチを MAP に当てます (種類は中身で見分けます)。\n"
     "      テキストのパッチはマスごとに、地図が前のコードなら後のコードにし、\n"
     "      もう後のコードなら何もしません。どちらでもないマスは衝突です:\n"
     "      全部を示し、何も書かずに終了コード 1。--ours では衝突したマスは地図の\n"
     "      コードのまま、--theirs ではパッチの後のコードにして、残りを当てます。\n"
     "      BPS は作られたときの地図そのものにしか当たりません。IPS は地図を\n"
     "      確かめられないので、違う地図にもそのまま当たります。\n"
     "      PATCH をいくつも並べると、その順に、前のパッチを当てた後の地図に\n"
     "      当てます。前のパッチが変えたマスでの衝突は「地図は (前のパッチ の後)」\n"
     "      と示します。どれか一つでも当たらなければ、何も書きません。\n",
     "valtea-map patch MAPDATA.VLT mod.txt --dry-run"},
    {"export", "valtea-map export MAP [OUT.csv | OUT.tmj]",
     "      テキスト形式で書き出します (OUT がなければ標準出力へ)。OUT.tmj か\n"
     "      OUT.json なら Tiled の地図 (六角形、352×76 タイル、Tiled の x,y は\n"
     "      マス x+1:y+1) と、タイルセットの絵 valtea-terrain.png を書きます。\n",
     "valtea-map export MAPDATA.VLT map.tmj"},
    {"import", "valtea-map import IN.csv MAP | IN.tmj MAP",
     "      テキスト形式か Tiled の地図 (.tmj、.json) を全部確かめてから MAP に\n"
     "      書きます。Tiled で描いた道路の形は直さないので、そのあと shape を。\n",
     "valtea-map import map.tmj MAPDATA.VLT"},
    {"get", "valtea-map get MAP CELL",
     "      1 マスのコード、記号、名前、オフセット。\n",
     "valtea-map get MAPDATA.VLT 5:10"},
    {"set", "valtea-map set MAP CELL CODE [--force]",
     "      エディタと同じ規則で 1 マスを変えます: 道路、橋と丘陵、平地、湿地、\n"
     "      砂浜のマスだけを、道路の選択肢にあるコードにだけ。--force では\n"
     "      どのマスにも 0..255 のどのコードでも書きます。\n",
     "valtea-map set MAPDATA.VLT 19:30 4"},
    {"shape", "valtea-map shape MAP [--dry-run]",
     "      検査で問題の見つかった道路を、つながる隣に合う形に直します。橋は\n"
     "      向きが合うときだけもう一方の橋にします。変えたマスを diff と同じ形で、\n"
     "      そのあと残った問題を check と同じ形で示します。\n",
     "valtea-map shape MAPDATA.VLT --dry-run"},
    {"road", "valtea-map road MAP FROM TO [--dry-run]",
     "      FROM から TO へ新しい道路を敷きます。斜めの歩みだけの、歩数の最も\n"
     "      少ない道です。平地、丘陵、湿地、砂浜、馬産地と道路を通り、水 (海、\n"
     "      湖、河口) は 1 本の道路で 1 マスだけ、まっすぐ新しい橋で渡ります。\n"
     "      FROM と TO は港湾、御所、城、町か道路のマスです。\n",
     "valtea-map road MAPDATA.VLT 34:20 59:21"},
    {"draw", "valtea-map draw MAP CELL CELL [CELL...] [--dry-run]",
     "      エディタの地図の絵で道路を描くのと同じく、マスを順に通る道路を描きます。\n"
     "      マスからマスへは road と同じ道で、端が平地などならまっすぐ続く道路の\n"
     "      記号にし (あとで続きを描けます)、途切れた道路の端からは続けます。\n"
     "      2 マスだけなら road と同じものを書きます。\n",
     "valtea-map draw MAPDATA.VLT 34:20 45:24 59:21 --dry-run"},
    {"erase", "valtea-map erase MAP CELL [CELL...] [--land CODE] [--dry-run]",
     "      エディタの消しゴムと同じく、マスの道路を土地\n"
     "      ({lands}) にし、隣の道路から\n"
     "      そのマスへのつながりを外します。橋とほかの地形はそのままです。\n",
     "valtea-map erase MAPDATA.VLT 36:19 --land 3 --dry-run"},
}};

constexpr std::string_view Conclusion =
    "valtea-map --help | --version\n"
    "\n"
    "MAP は地図ファイル。CELL (マス) はエディタの位置の表示と同じ 列:行 (5:10)、\n"
    "または @オフセット (@302、@0x12E)。オプションは --scale 8 とも --scale=8 とも。\n"
    "テキスト形式: 地図の行 0 から 175 まで 1 行ずつ、その行の 151 個のコードを\n"
    "10 進数でコンマ区切り。# で始まる行は注釈です。\n"
    "書き込みはエディタの保存と同じく、新しいファイルを隣に書いてから置き換える\n"
    "ので、失敗しても元のファイルは残ります。中身が変わらないときは書きません。\n"
    "--dry-run では何も書かずに、変わるマスだけを示します。\n"
    "終了コード: 0 成功、1 違いか問題がある (diff、check、shape)、パッチが合わない\n"
    "(patch)、2 エラー (何も書きません)。\n";

}  // namespace

const CommandHelp* HelpOf(std::string_view name) {
  for (const CommandHelp& command : Commands)
    if (command.name == name) return &command;
  return nullptr;
}

// The help's words for what is kept where it is used: the picture's scales
// and the eraser's lands.
std::string Filled(std::string_view text) {
  std::string filled(text);
  const auto put = [&filled](std::string_view mark, const std::string& words) {
    if (const auto at = filled.find(mark); at != std::string::npos) filled.replace(at, mark.size(), words);
  };
  put("{scales}", std::to_string(MinMapPictureScale) + ".." + std::to_string(MaxMapPictureScale) + "、既定 " +
                      std::to_string(DefaultMapPictureScale));
  std::string lands;
  for (const TerrainCode land : EraserLands) lands += std::to_string(land) + " " + std::string(TerrainNames[land]) + "、";
  put("{lands}", lands + "既定 " + std::to_string(DefaultEraserLand));
  return filled;
}

std::string HelpText(const CommandHelp& command) {
  return std::string(command.usage) + "\n" + Filled(command.text) + "      例: " + std::string(command.example) + "\n";
}

std::string WholeHelp() {
  std::string text = std::string(Introduction) + "\n";
  for (const CommandHelp& command : Commands) text += HelpText(command);
  return text + std::string(Conclusion);
}
