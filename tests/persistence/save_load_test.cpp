// Saving, loading and clearing a sheet's datasets: round trips, matching by name, the one caught
// failure and its message, pending edits, the cursor, the read-only flag and the bound controls.
#include <gtest/gtest.h>

#include <algorithm>

#include "FichaTeste.h"
#include "db/DataSource.h"

namespace zarp::test {
namespace {

// A sheet with a one-record dataset of every encodable kind and a list with a calculated field.
class FichaCompleta : public Ficha {
 public:
  FichaCompleta() {
    tipos = NovoDataSet(u"TIPOS");
    Campo<db::TStringField>(tipos, u"texto", 20);
    Campo<db::TIntegerField>(tipos, u"inteiro");
    Campo<db::TSmallintField>(tipos, u"pequeno");
    Campo<db::TWordField>(tipos, u"palavra");
    Campo<db::TBooleanField>(tipos, u"logico");
    Campo<db::TFloatField>(tipos, u"real");
    Campo<db::TCurrencyField>(tipos, u"dinheiro");
    Campo<db::TBCDField>(tipos, u"bcd");
    Campo<db::TDateTimeField>(tipos, u"data");
    Campo<db::TLargeintField>(tipos, u"grande");
    Campo<db::TBlobField>(tipos, u"blob");
    Campo<db::TMemoField>(tipos, u"memo");
    Campo<db::TBlobField>(tipos, u"imagem", db::TFieldType::ftGraphic);

    lista = NovoDataSet(u"LISTA");
    nome = Campo<db::TStringField>(lista, u"nome", 15);
    qtd = Campo<db::TIntegerField>(lista, u"qtd");
    dobro = Campo<db::TIntegerField>(lista, u"dobro");
    dobro->SetCalculated(true);
    lista->OnCalcFields = [this](db::TDataSet*) {
      ++calculos;
      if (!qtd->IsNull()) dobro->SetAsInteger(2 * qtd->AsInteger());
    };
    tipos->Open();
    lista->Open();
  }

  void Preencher() {
    tipos->Append();
    tipos->FieldByName(u"texto")->SetAsString("Espada \xE9pica");
    tipos->FieldByName(u"inteiro")->SetAsInteger(INT32_MIN);
    tipos->FieldByName(u"pequeno")->SetAsInteger(-32768);
    tipos->FieldByName(u"palavra")->SetAsInteger(65535);
    tipos->FieldByName(u"logico")->SetAsBoolean(true);
    tipos->FieldByName(u"real")->SetAsFloat(-0.1);
    tipos->FieldByName(u"dinheiro")->SetAsFloat(1234.5678);
    static_cast<db::TBCDField*>(tipos->FieldByName(u"bcd"))->SetAsCurrency(-99999999);
    static_cast<db::TDateTimeField*>(tipos->FieldByName(u"data"))->SetAsDateTime(45000.75);
    static_cast<db::TLargeintField*>(tipos->FieldByName(u"grande"))->SetAsLargeInt(INT64_MAX);
    tipos->FieldByName(u"blob")->SetAsString(std::string("\x00\x01\xFF", 3));
    tipos->FieldByName(u"memo")->SetAsString("linha 1\r\nlinha 2");
    tipos->FieldByName(u"imagem")->SetAsString("");  // empty, which is not null
    tipos->Post();
    tipos->Append();  // a second record: every value null
    tipos->Post();

    for (int i = 0; i < 5; ++i) {
      lista->Append();
      nome->SetAsString("item " + std::to_string(i));
      if (i != 2) qtd->SetAsInteger(i * 10);
      lista->Post();
    }
  }

  TZARPDataSet* tipos = nullptr;
  TZARPDataSet* lista = nullptr;
  db::TStringField* nome = nullptr;
  db::TIntegerField* qtd = nullptr;
  db::TIntegerField* dobro = nullptr;
  int calculos = 0;
};

TEST(RoundTrip, EveryEncodableKindComesBackInOrder) {
  FichaCompleta origem;
  origem.Preencher();
  Bytes salvo = Salvar(origem);

  FichaCompleta destino;
  Carregar(destino, salvo);
  EXPECT_EQ(Registros(*destino.tipos), Registros(*origem.tipos));
  EXPECT_EQ(Registros(*destino.lista), Registros(*origem.lista));
  destino.tipos->First();
  EXPECT_TRUE(destino.tipos->FieldByName(u"blob")->AsString() == std::string("\x00\x01\xFF", 3));
  EXPECT_FALSE(destino.tipos->FieldByName(u"imagem")->IsNull());
  destino.tipos->Next();
  EXPECT_TRUE(destino.tipos->FieldByName(u"blob")->IsNull());  // null stays null, not empty
  EXPECT_EQ(Salvar(destino), salvo);
  EXPECT_TRUE(Caixas().Messages().empty());
}

TEST(RoundTrip, CalculatedFieldsAreRecomputedNotRead) {
  FichaCompleta origem;
  origem.Preencher();
  Bytes salvo = Salvar(origem);
  EXPECT_EQ(std::search(salvo.begin(), salvo.end(), std::begin("dobro"), std::end("dobro") - 1),
            salvo.end());

  FichaCompleta destino;
  Carregar(destino, salvo);
  destino.lista->First();
  destino.lista->Next();
  EXPECT_EQ(destino.dobro->AsInteger(), 20);
}

TEST(RoundTrip, TheLastLoadedRecordIsCurrentInBrowseState) {
  FichaCompleta origem;
  origem.Preencher();
  origem.lista->First();
  FichaCompleta destino;
  Carregar(destino, Salvar(origem));
  EXPECT_EQ(destino.lista->State(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(destino.lista->RecNo(), 4);
  EXPECT_EQ(destino.nome->AsString(), "item 4");
}

TEST(RoundTrip, LoadingReplacesWhatWasThereAndEmptiesUnnamedDatasets) {
  FichaCompleta origem;
  origem.lista->Append();
  origem.nome->SetAsString("novo");
  origem.lista->Post();
  FichaCompleta destino;
  destino.Preencher();
  Carregar(destino, Salvar(origem));  // TIPOS is the short section
  EXPECT_EQ(destino.tipos->RecordCount(), 0);
  EXPECT_EQ(Registros(*destino.lista), std::vector<std::string>{"novo|<null>"});
}

// --- Matching by name ---------------------------------------------------------------------------

class Matching : public ::testing::Test {
 protected:
  void SetUp() override {
    Caixas().ClearMessages();
    dados = ficha.NovoDataSet(u"DADOS");
    valor = ficha.Campo<db::TIntegerField>(dados, u"Valor");
    texto = ficha.Campo<db::TStringField>(dados, u"texto", 10);
    calc = ficha.Campo<db::TIntegerField>(dados, u"calc");
    calc->SetCalculated(true);
    busca = ficha.Campo<db::TStringField>(dados, u"busca", 10);
    busca->SetFieldKind(db::TFieldKind::fkLookup);
    outro = new rt::TComponent(&ficha);
    outro->SetName(u"OUTRO");
    dados->Open();
  }
  void TearDown() override { Caixas().ClearMessages(); }

  std::vector<std::u16string> Mensagens() {
    std::vector<std::u16string> out;
    for (auto& m : Caixas().Messages()) out.push_back(m.Text);
    return out;
  }

  Ficha ficha;
  TZARPDataSet* dados = nullptr;
  db::TIntegerField* valor = nullptr;
  db::TStringField* texto = nullptr;
  db::TIntegerField* calc = nullptr;
  db::TStringField* busca = nullptr;
  rt::TComponent* outro = nullptr;
};

TEST_F(Matching, SectionsOfUnknownOrOtherComponentsAreReadAndDropped) {
  Escritor e;
  e.Str("NINGUEM").I32(1).Coluna("x", 256).I32(2).Texto("a").Texto("b").I32(1);
  e.Str("OUTRO").I32(1).Coluna("Valor", 3).I32(1).Int(5).I32(0);
  e.Str("").I32(0).I32(3).I32(2);             // no name, no columns
  e.Str("DADOSTEXTO").I32(0).I32(0).I32(-1);  // a field's component name
  e.Str("DADOS").I32(1).Coluna("Valor", 3).I32(1).Int(9).I32(0);
  Carregar(ficha, e.bytes);
  EXPECT_EQ(Registros(*dados), std::vector<std::string>{"9|<null>"});
  EXPECT_TRUE(Mensagens().empty());
}

TEST_F(Matching, NamesMatchWhateverTheirCase) {
  Escritor e;
  e.Str("dados").I32(2).Coluna("VALOR", 3).Coluna("TeXtO", 256).I32(1).Int(1).Texto("um").I32(0);
  Carregar(ficha, e.bytes);
  EXPECT_EQ(Registros(*dados), std::vector<std::string>{"1|um"});
}

TEST_F(Matching, UnknownColumnsAreSkippedAndUnnamedFieldsKeepWhatInsertGave) {
  Escritor e;
  e.Str("DADOS").I32(3).Coluna("sumiu", 256).Coluna("texto", 256).Coluna("antigo", 5);
  e.I32(2);
  e.Texto("lixo").Texto("a").U8(1).I64(0);
  e.Texto("mais lixo").Texto("b").Nulo();
  e.I32(1);
  Carregar(ficha, e.bytes);
  EXPECT_EQ(Registros(*dados), (std::vector<std::string>{"<null>|a", "<null>|b"}));
}

TEST_F(Matching, CalculatedAndLookupColumnsAreReadButNotAssignedAndRaiseNothing) {
  Escritor e;
  e.Str("DADOS").I32(3).Coluna("calc", 256).Coluna("busca", 256).Coluna("valor", 3);
  e.I32(1).Texto("not a number").Texto("x").Int(4).I32(0);
  Carregar(ficha, e.bytes);
  EXPECT_EQ(Registros(*dados), std::vector<std::string>{"4|<null>"});
  EXPECT_TRUE(Mensagens().empty());
  EXPECT_TRUE(busca->IsNull());
}

TEST_F(Matching, ARefusedValueIsShownOncePerRecordNamingTheFieldAsTheDatasetSpellsIt) {
  valor->SetMinValue(-999);
  valor->SetMaxValue(999);
  // The column says 256: the texts convert when they are assigned, or fail to.
  Escritor f;
  f.Str("DADOS").I32(2).Coluna("VALOR", 256).Coluna("texto", 256).I32(3);
  f.Texto("1000").Texto("a").Texto("5").Texto("b").Texto("doze").Texto("c").I32(2);
  Carregar(ficha, f.bytes);

  EXPECT_EQ(Registros(*dados), (std::vector<std::string>{"<null>|a", "5|b", "<null>|c"}));
  auto m = Mensagens();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0],
            u"Carregando field Valor: 1000 is not a valid value for field 'Valor'. The allowed "
            u"range is -999 to 999");
  EXPECT_EQ(m[1].rfind(u"Carregando field Valor: ", 0), 0u);
  EXPECT_EQ(Caixas().Messages()[0].Type, ui::TMsgDlgType::mtError);
}

TEST_F(Matching, TwoSectionsOfOneDatasetAppend) {
  Escritor e;
  e.Str("DADOS").I32(1).Coluna("valor", 3).I32(2).Int(1).Int(2).I32(1);
  e.Str("DADOS").I32(1).Coluna("valor", 3).I32(1).Int(3).I32(0);
  e.SecaoVazia("DADOS");
  Carregar(ficha, e.bytes);
  EXPECT_EQ(Registros(*dados), (std::vector<std::string>{"1|<null>", "2|<null>", "3|<null>"}));
}

TEST_F(Matching, TheSectionsRecordNumberPicksTheCurrentRecord) {
  Escritor e;
  e.Str("DADOS").I32(1).Coluna("valor", 3).I32(3).Int(1).Int(2).Int(3).I32(0);
  Carregar(ficha, e.bytes);
  EXPECT_EQ(valor->AsInteger(), 1);
}

TEST_F(Matching, ARecordNumberPastTheEndLeavesTheLastRecordCurrent) {
  Escritor e;
  e.Str("DADOS").I32(1).Coluna("valor", 3).I32(3).Int(1).Int(2).Int(3).I32(1000000);
  Carregar(ficha, e.bytes);
  EXPECT_FALSE(dados->IsEmpty());
  EXPECT_EQ(valor->AsInteger(), 3);
}

TEST_F(Matching, AClosedDatasetNamedByTheStreamEndsTheLoad) {
  dados->Close();
  Escritor e;
  e.SecaoVazia("DADOS");
  auto s = Stream(e.bytes);
  EXPECT_THROW(CarregarDataSets(ficha, s.Get()), db::EDatabaseError);
  EXPECT_FALSE(dados->ControlsDisabled());
}

// --- Saving -------------------------------------------------------------------------------------

class Salvando : public ::testing::Test {
 protected:
  void SetUp() override {
    a = ficha.NovoDataSet(u"A");
    n = ficha.Campo<db::TIntegerField>(a, u"n");
    b = ficha.NovoDataSet(u"B");
    ficha.Campo<db::TStringField>(b, u"s", 5);
    a->Open();
    b->Open();
    for (int i = 1; i <= 3; ++i) {
      a->Append();
      n->SetAsInteger(i);
      a->Post();
    }
  }
  Ficha ficha;
  TZARPDataSet* a = nullptr;
  TZARPDataSet* b = nullptr;
  db::TIntegerField* n = nullptr;
};

TEST_F(Salvando, ClosedDatasetsWriteNothingAndEmptyOnesTheShortSection) {
  b->Close();
  Bytes soA = Salvar(ficha);
  b->Open();
  Bytes ambos = Salvar(ficha);
  Bytes esperado = Escritor().Anexar(soA).SecaoVazia("B").bytes;
  EXPECT_EQ(ambos, esperado);
}

TEST_F(Salvando, OnlyHostBoundDatasetsTakePart) {
  auto* plain = new rt::TComponent(&ficha);
  plain->SetName(u"PLAIN");
  Bytes antes = Salvar(ficha);
  EXPECT_EQ(std::search(antes.begin(), antes.end(), std::begin("PLAIN"), std::end("PLAIN") - 1),
            antes.end());
}

TEST_F(Salvando, APendingEditIsPostedAndSaved) {
  a->First();
  a->Edit();
  n->SetAsInteger(100);
  Bytes salvo = Salvar(ficha);
  EXPECT_EQ(a->State(), db::TDataSetState::dsBrowse);
  Ficha outra;
  TZARPDataSet* c = outra.NovoDataSet(u"A");
  outra.Campo<db::TIntegerField>(c, u"n");
  c->Open();
  Carregar(outra, salvo);
  EXPECT_EQ(Registros(*c), (std::vector<std::string>{"100", "2", "3"}));
}

TEST_F(Salvando, APendingInsertIsPostedToo) {
  a->Append();
  n->SetAsInteger(4);
  Salvar(ficha);
  EXPECT_EQ(a->RecordCount(), 4);
}

TEST_F(Salvando, TheCursorStaysOnItsRecordAndTwoSavesAreIdentical) {
  a->First();
  a->Next();
  Bytes um = Salvar(ficha);
  EXPECT_EQ(n->AsInteger(), 2);
  Bytes dois = Salvar(ficha);
  EXPECT_EQ(um, dois);
  EXPECT_EQ(n->AsInteger(), 2);
}

TEST_F(Salvando, AFailingPostEndsTheSaveBeforeTheDatasetIsWritten) {
  a->BeforePost = [](db::TDataSet*) { throw db::EDatabaseError(u"no"); };
  a->Edit();
  auto s = Stream();
  EXPECT_THROW(SalvarDataSets(ficha, s.Get()), db::EDatabaseError);
  EXPECT_TRUE(s->Bytes().empty());
  a->BeforePost = nullptr;
  a->Cancel();
}

TEST_F(Salvando, AFailingWriteOfTheCountPutsTheStreamBackAndTheCursorToo) {
  a->First();
  a->Next();
  auto s = rt::MakeCounted<StreamEspiao>();
  // A: name (2 writes), count, column (3 writes), placeholder, 3 x 2 values; then the count.
  s->falharNaEscrita = 2 + 1 + 3 + 1 + 6;
  EXPECT_THROW(SalvarDataSets(ficha, s.Get()), std::runtime_error);
  EXPECT_EQ(s->GetPosition(), static_cast<int64_t>(s->Bytes().size()));
  EXPECT_EQ(n->AsInteger(), 2);
  EXPECT_FALSE(a->ControlsDisabled());
}

TEST_F(Salvando, AFailingWriteInsideTheRecordsPutsTheCursorBack) {
  a->Last();
  auto s = rt::MakeCounted<StreamEspiao>();
  s->falharNaEscrita = 9;
  EXPECT_THROW(SalvarDataSets(ficha, s.Get()), std::runtime_error);
  EXPECT_EQ(n->AsInteger(), 3);
  EXPECT_FALSE(a->ControlsDisabled());
  EXPECT_EQ(a->State(), db::TDataSetState::dsBrowse);
}

// --- Clearing, read-only and bound controls -----------------------------------------------------

TEST_F(Salvando, ClearingDiscardsAPendingEditAndLeavesClosedDatasetsClosed) {
  b->Close();
  a->Edit();
  n->SetAsInteger(100);
  EsvaziarDataSets(ficha);
  EXPECT_TRUE(a->Active());
  EXPECT_EQ(a->RecordCount(), 0);
  EXPECT_FALSE(b->Active());
}

TEST_F(Salvando, AReadOnlySheetLoadsAndClearsAndStaysReadOnly) {
  Bytes salvo = Salvar(ficha);
  a->SetSomenteLeitura(true);
  b->SetSomenteLeitura(true);
  EsvaziarDataSets(ficha);
  EXPECT_EQ(a->RecordCount(), 0);
  Carregar(ficha, salvo);
  EXPECT_EQ(Registros(*a), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_TRUE(a->SomenteLeitura());
  EXPECT_TRUE(b->SomenteLeitura());
  EXPECT_THROW(a->Edit(), EZARPSomenteLeitura);
}

TEST_F(Salvando, BoundControlsHearNothingPerRecord) {
  db::TDataSource fonte(nullptr);
  fonte.SetDataSet(a);
  db::TFieldDataLink link;
  int mudancas = 0;
  link.OnDataChange = [&] { ++mudancas; };
  link.SetFieldName(u"n");
  link.SetDataSource(&fonte);

  for (int i = 4; i <= 100; ++i) {
    a->Append();
    n->SetAsInteger(i);
    a->Post();
  }
  ASSERT_GT(mudancas, 100);  // unsuspended, every change reaches the control
  mudancas = 0;
  Bytes salvo = Salvar(ficha);
  EXPECT_LE(mudancas, 2);
  mudancas = 0;
  Carregar(ficha, salvo);
  EXPECT_LE(mudancas, 4);
  EXPECT_EQ(a->RecordCount(), 100);
  link.SetDataSource(nullptr);
}

// --- Direct appends -----------------------------------------------------------------------------

// A table that a load fills straight into its storage (no handler hears an insert or a post),
// beside the same table with a handler, which a load fills by inserting and posting each record:
// both must end with the same records, messages and notices.
class TabelaContada : public TZARPDataSet {
 public:
  using TZARPDataSet::TZARPDataSet;
  bool PodeAnexarDireto(const std::vector<db::TField*>& campos) override {
    return CondicoesAnexoDireto(campos);
  }
  void NotificarOwner() override { ++avisos; }
  int avisos = 0;
};

class FichaDireta : public Ficha {
 public:
  explicit FichaDireta(bool comHandler) {
    t = new TabelaContada(this);
    t->SetName(u"T");
    curto = Campo<db::TStringField>(t, u"curto", 3);
    longo = Campo<db::TStringField>(t, u"longo", 9000);  // past the field's own cut
    n = Campo<db::TIntegerField>(t, u"n");
    n->SetMinValue(0);
    n->SetMaxValue(99);
    p = Campo<db::TSmallintField>(t, u"p");
    if (comHandler) t->AfterPost = [](db::TDataSet*) {};
    t->Open();
  }
  TabelaContada* t = nullptr;
  db::TStringField* curto = nullptr;
  db::TStringField* longo = nullptr;
  db::TIntegerField* n = nullptr;
  db::TSmallintField* p = nullptr;
};

struct TCarga {
  std::vector<std::string> registros;
  std::vector<std::u16string> mensagens;
  int avisos = 0, recNo = 0, inseridos = 0;
  bool operator==(const TCarga&) const = default;
};

TCarga CarregarEm(FichaDireta& ficha, const Bytes& bytes) {
  Caixas().ClearMessages();
  Carregar(ficha, bytes);
  TCarga c;
  c.recNo = ficha.t->RecNo();
  c.avisos = ficha.t->avisos;
  c.inseridos = ficha.t->RegistrosInseridos();
  c.registros = Registros(*ficha.t);
  for (auto& m : Caixas().Messages()) c.mensagens.push_back(m.Text);
  Caixas().ClearMessages();
  EXPECT_EQ(ficha.t->State(), db::TDataSetState::dsBrowse);
  return c;
}

TEST(DirectAppends, CheckAndCutEveryValueAsTheInsertAndPostPathDoes) {
  const std::string dezMil(10000, 'x');
  Escritor e;
  // Columns: an integer column for a text field, two of one name (the second wins), and one that
  // names no field.
  e.Str("T").I32(6).Coluna("curto", 3).Coluna("LONGO", 256).Coluna("n", 3).Coluna("N", 256);
  e.Coluna("p", 3).Coluna("sobra", 256).I32(4);
  e.Int(123456).Texto(dezMil).Int(50).Texto("12").Int(-5).Texto("x");
  e.Nulo().Texto(std::string("um\0dois", 7)).Int(5).Texto("100").Int(70000).Texto("y");
  e.Int(7).Nulo().Nulo().Texto("doze").Nulo().Nulo();
  e.Int(0).Texto("").Int(99).Nulo().Int(-32768).Texto("w");
  e.I32(1);

  FichaDireta direta(false), lenta(true);
  {
    direta.t->DisableControls();
    std::vector<db::TField*> campos{direta.curto, direta.n};
    EXPECT_TRUE(direta.t->PodeAnexarDireto(campos));
    lenta.t->DisableControls();
    EXPECT_FALSE(lenta.t->PodeAnexarDireto(campos));
    direta.t->EnableControls();
    lenta.t->EnableControls();
  }
  const TCarga a = CarregarEm(direta, e.bytes);
  const TCarga b = CarregarEm(lenta, e.bytes);
  EXPECT_EQ(a, b);

  // Texts cut at Size (the field's own cut up to 8192, the dataset's past it) and at a zero
  // byte; numbers converted; refused values reported and left as the insert gave them.
  ASSERT_EQ(a.registros.size(), 4u);
  EXPECT_EQ(a.registros[0], "123|" + std::string(9000, 'x') + "|12|-5");
  EXPECT_EQ(a.registros[1], "<null>|um|5|<null>");
  EXPECT_EQ(a.registros[2], "7|<null>|<null>|<null>");
  EXPECT_EQ(a.registros[3], "0||<null>|-32768");
  ASSERT_EQ(a.mensagens.size(), 3u);
  EXPECT_EQ(a.mensagens[0].rfind(u"Carregando field n: 100 is not a valid value for field 'n'", 0),
            0u);
  EXPECT_EQ(a.mensagens[1].rfind(u"Carregando field p: 70000 is not a valid value", 0), 0u);
  EXPECT_EQ(a.mensagens[2].rfind(u"Carregando field n: ", 0), 0u);
  // One insert notice per record; the section's record number is current.
  EXPECT_EQ(a.avisos, 4);
  EXPECT_EQ(a.inseridos, 4);
  EXPECT_EQ(a.recNo, 1);

  // Loading again (a load clears first) reuses the storage and gives the same.
  EXPECT_EQ(CarregarEm(direta, e.bytes).registros, a.registros);
}

TEST(DirectAppends, AReadOnlyTableIsRefusedAsAnInsertRefusesIt) {
  FichaDireta ficha(false);
  ficha.t->Append();
  ficha.n->SetAsInteger(1);
  ficha.t->Post();
  ficha.t->SetSomenteLeitura(true);
  EXPECT_THROW(ficha.t->NovoRegistroDireto(), EZARPSomenteLeitura);
  EXPECT_EQ(ficha.t->avisos, 1);  // the append's only
  EXPECT_EQ(ficha.t->RecordCount(), 1);
}

}  // namespace
}  // namespace zarp::test
