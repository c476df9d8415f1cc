// Loading streams that are truncated, hostile or served by a careless host: every load ends in a
// clear error or a success, never allocates for a count the stream cannot hold, and leaves the
// sheet with exactly the sections before the failure.
#include <gtest/gtest.h>

#include <algorithm>

#include "FichaTeste.h"
#include "ficha/ZARPStreamUtils.h"

namespace zarp::test {
namespace {

// Three datasets: a list of numbers and names, an empty one, and one with blob and memo fields.
class FichaTres : public Ficha {
 public:
  FichaTres() {
    a = NovoDataSet(u"DATAA5");
    n = Campo<db::TIntegerField>(a, u"pgref");
    s = Campo<db::TStringField>(a, u"habilname", 30);
    b = NovoDataSet(u"DATAPHOTO");
    c = NovoDataSet(u"NOTAS");
    blob = Campo<db::TBlobField>(c, u"blob");
    memo = Campo<db::TMemoField>(c, u"memo");
    for (TZARPDataSet* ds : {a, b, c}) ds->Open();
  }

  void Preencher() {
    for (int i = 1; i <= 4; ++i) {
      a->Append();
      n->SetAsInteger(i * 111);
      if (i != 3) s->SetAsString("habilidade " + std::to_string(i));
      a->Post();
    }
    for (const char* t : {"primeira", ""}) {
      c->Append();
      blob->SetAsString(t);
      memo->SetAsString(std::string(t) + " nota");
      c->Post();
    }
  }

  std::vector<std::vector<std::string>> Tudo() {
    return {Registros(*a), Registros(*b), Registros(*c)};
  }

  TZARPDataSet *a, *b, *c;
  db::TIntegerField* n;
  db::TStringField* s;
  db::TBlobField* blob;
  db::TMemoField* memo;
};

std::string Utf8(const std::u16string& s) {
  return rt::Utf16ToUtf8(s);
}

// The message of the load of `bytes` into `ficha`, or "" when it succeeded.
std::string Falha(Ficha& ficha, const Bytes& bytes) {
  try {
    Carregar(ficha, bytes);
    return "";
  } catch (const EStreamFicha& e) {
    return Utf8(e.Message());
  }
}

TEST(Truncation, EveryCutEndsInTheClearErrorOrBetweenSections) {
  FichaTres origem;
  origem.Preencher();
  auto stream = Stream();
  std::vector<size_t> fronteiras{0};
  for (TZARPDataSet* ds : {origem.a, origem.b, origem.c}) {
    SalvarDataSet(*ds, stream.Get());
    fronteiras.push_back(stream->Bytes().size());
  }
  const Bytes inteiro = stream->Bytes();

  for (size_t corte = 0; corte <= inteiro.size(); ++corte) {
    SCOPED_TRACE("cut at " + std::to_string(corte));
    Bytes prefixo(inteiro.begin(), inteiro.begin() + static_cast<ptrdiff_t>(corte));
    FichaTres ficha;
    ficha.c->SetSomenteLeitura(true);
    std::string falha = Falha(ficha, prefixo);

    size_t antes = *std::prev(std::upper_bound(fronteiras.begin(), fronteiras.end(), corte));
    if (antes == corte) {
      EXPECT_EQ(falha, "");
    } else {
      EXPECT_EQ(falha.rfind("Sheet stream ends inside ", 0), 0u) << falha;
    }
    // What stays is exactly the sections before the cut.
    FichaTres esperado;
    Carregar(esperado, Bytes(inteiro.begin(), inteiro.begin() + static_cast<ptrdiff_t>(antes)));
    EXPECT_EQ(ficha.Tudo(), esperado.Tudo());
    for (TZARPDataSet* ds : {ficha.a, ficha.b, ficha.c}) {
      EXPECT_EQ(ds->State(), db::TDataSetState::dsBrowse);
      EXPECT_FALSE(ds->ControlsDisabled());
    }
    EXPECT_TRUE(ficha.c->SomenteLeitura());
    EXPECT_FALSE(ficha.a->SomenteLeitura());
  }
}

TEST(Truncation, TheMessageNamesTheSectionAndTheRecord) {
  Escritor e;
  e.Str("DATAA5").I32(1).Coluna("pgref", 3).I32(7);
  e.Int(1).Int(2).U8(1).U8(3).U8(0);  // the third value stops after two of its four bytes
  FichaTres ficha;
  ficha.Preencher();
  EXPECT_EQ(Falha(ficha, e.bytes), "Sheet stream ends inside section DATAA5 (record 3 of 7)");
  EXPECT_EQ(ficha.a->RecordCount(), 0);  // the two whole records went out again
}

TEST(Truncation, TheSectionsBeforeStayAndTheOneAtHandGoesOut) {
  FichaTres origem;
  origem.Preencher();
  Bytes salvo = Salvar(origem);
  Escritor e;
  e.Anexar(salvo);
  e.Str("DATAA5").I32(1).Coluna("pgref", 3).I32(2).Int(5).U8(1);  // a second DATAA5, cut short
  FichaTres ficha;
  EXPECT_EQ(Falha(ficha, e.bytes), "Sheet stream ends inside section DATAA5 (record 2 of 2)");
  EXPECT_EQ(ficha.Tudo(), origem.Tudo());
}

TEST(Truncation, ADroppedSectionFailsTheSameWay) {
  Escritor e;
  e.Str("NINGUEM").I32(2).Coluna("x", 3).I32(100).I64(0).U8(0);
  FichaTres ficha;
  EXPECT_EQ(Falha(ficha, e.bytes),
            "Sheet stream ends inside section NINGUEM (column 2 of 2): 100 text bytes claimed, 9 "
            "bytes left");
}

// --- Hostile counts -----------------------------------------------------------------------------

TEST(HostileCounts, ATwoGigabyteClaimInAHundredBytesFailsAtOnce) {
  Escritor e;
  e.I32(INT32_MAX);
  e.Anexar(Bytes(96, 'x'));  // a hundred bytes in all
  auto s = rt::MakeCounted<StreamEspiao>(e.bytes);
  FichaTres ficha;
  try {
    CarregarDataSets(ficha, s.Get());
    FAIL() << "loaded";
  } catch (const EStreamFicha& erro) {
    EXPECT_EQ(Utf8(erro.Message()),
              "Sheet stream ends inside a section name: 2147483647 text bytes claimed, 96 bytes "
              "left");
  }
  for (const std::string& chamada : s->log) {
    if (chamada.rfind("read ", 0) == 0) {
      EXPECT_LE(std::stoll(chamada.substr(5)), 100);
    }
  }
}

TEST(HostileCounts, HugeColumnAndRecordCountsFailBeforeAnythingIsInserted) {
  FichaTres ficha;
  Escritor colunas;
  colunas.Str("DATAA5").I32(INT32_MAX).Coluna("pgref", 3).I32(0).I32(0);
  EXPECT_EQ(Falha(ficha, colunas.bytes),
            "Sheet stream ends inside section DATAA5 (column count): 2147483647 columns claimed, "
            "19 bytes left");

  int inseridos = 0;
  ficha.a->AfterInsert = [&](db::TDataSet*) { ++inseridos; };
  Escritor registros;
  registros.Str("DATAA5").I32(1).Coluna("pgref", 3).I32(1000).Int(1).Int(2).I32(0);
  EXPECT_EQ(Falha(ficha, registros.bytes),
            "Sheet stream ends inside section DATAA5 (record count): 1000 records claimed, 14 "
            "bytes left");
  EXPECT_EQ(inseridos, 0);
}

TEST(HostileCounts, NegativeCountsAndLengthsAreDamage) {
  FichaTres ficha;
  EXPECT_EQ(Falha(ficha, Escritor().Str("DATAA5").I32(-1).I32(0).I32(0).bytes),
            "Sheet stream is damaged inside section DATAA5 (column count): -1 columns");
  EXPECT_EQ(Falha(ficha, Escritor().Str("DATAA5").I32(0).I32(-3).I32(0).bytes),
            "Sheet stream is damaged inside section DATAA5 (record count): -3 records");
  EXPECT_EQ(Falha(ficha, Escritor().Str("DATAA5").I32(1).I32(-5).U16(3).I32(0).I32(0).bytes),
            "Sheet stream is damaged inside section DATAA5 (column 1 of 1): -5 text bytes");
  EXPECT_EQ(Falha(ficha, Escritor().I32(-2).I32(0).bytes),
            "Sheet stream is damaged inside a section name: -2 text bytes");
}

TEST(HostileCounts, RecordsWithoutColumnsAreLimited) {
  FichaTres ficha;
  EXPECT_EQ(Falha(ficha, Escritor().Str("DATAPHOTO").I32(0).I32(1025).I32(0).bytes),
            "Sheet stream is damaged inside section DATAPHOTO (record count): 1025 records "
            "claimed without columns");
  EXPECT_EQ(ficha.b->RecordCount(), 0);
  EXPECT_EQ(Falha(ficha, Escritor().Str("DATAPHOTO").I32(0).I32(1024).I32(0).bytes), "");
  EXPECT_EQ(ficha.b->RecordCount(), 1024);
  // A few are fine: records without values, as a dataset without fields keeps them.
  EXPECT_EQ(Falha(ficha, Escritor().Str("DATAPHOTO").I32(0).I32(3).I32(2).bytes), "");
  EXPECT_EQ(ficha.b->RecordCount(), 3);
}

// --- Careless hosts -----------------------------------------------------------------------------

TEST(CarelessHost, NonsenseFromReadAndWriteChangesNothing) {
  FichaTres origem;
  origem.Preencher();
  auto gravado = rt::MakeCounted<StreamEspiao>();
  gravado->respostasSemSentido = true;
  SalvarDataSets(origem, gravado.Get());
  EXPECT_EQ(gravado->Bytes(), Salvar(origem));

  auto lido = rt::MakeCounted<StreamEspiao>(gravado->Bytes());
  lido->respostasSemSentido = true;
  FichaTres ficha;
  EsvaziarDataSets(ficha);
  CarregarDataSets(ficha, lido.Get());
  EXPECT_EQ(ficha.Tudo(), origem.Tudo());
}

TEST(CarelessHost, SizeAndPositionAreAskedOncePerSectionAndReadsAreFew) {
  FichaTres origem;
  origem.Preencher();
  auto s = rt::MakeCounted<StreamEspiao>(Salvar(origem));
  FichaTres ficha;
  CarregarDataSets(ficha, s.Get());
  auto vezes = [&](const std::string& chamada) {
    return std::count(s->log.begin(), s->log.end(), chamada);
  };
  EXPECT_EQ(vezes("seek 0"), 1);
  EXPECT_EQ(vezes("size"), 4);  // at the start, then at the end of each of the three sections
  EXPECT_EQ(vezes("position"), 4);
  EXPECT_EQ(s->log.size(), 1u + 8u + 1u);  // one read for the whole small stream
}

TEST(CarelessHost, AHostThatStopsDeliveringFailsAtTheEndOfTheSection) {
  FichaTres origem;
  origem.Preencher();
  Bytes salvo = Salvar(origem);
  for (int64_t corte : {0, 3, 20, 60, 100}) {  // all inside the first section
    SCOPED_TRACE(corte);
    auto s = Stream(salvo);
    s->SetFailAt(corte);  // it claims every byte, but delivers none past here and stays there
    FichaTres ficha;
    EsvaziarDataSets(ficha);
    try {
      CarregarDataSets(ficha, s.Get());
      FAIL() << "loaded";
    } catch (const EStreamFicha& e) {
      EXPECT_NE(Utf8(e.Message()).find(": the host reports "), std::string::npos)
          << Utf8(e.Message());
    }
    // The section that read zeros where the host delivered nothing went back out.
    EXPECT_EQ(ficha.a->RecordCount(), 0);
  }
}

TEST(CarelessHost, LongTextsReadStraightThrough) {
  FichaTres origem;
  origem.c->Append();
  std::string grande(300000, 'q');
  grande[12345] = '\0';
  origem.blob->SetAsString(grande);
  origem.memo->SetAsString(std::string(70000, 'm'));
  origem.c->Post();
  FichaTres ficha;
  Carregar(ficha, Salvar(origem));
  EXPECT_EQ(ficha.blob->AsString(), grande);
  EXPECT_EQ(ficha.memo->AsString().size(), 70000u);
}

// A stream of 4 GiB and more, of which only the start is ever read.
class StreamEnorme : public rt::TInterfacedObject<IZARPStream> {
 public:
  StreamEnorme(rt::Constructing c, int64_t tamanho, int64_t posicao)
      : TInterfacedObject(c), tamanho_(tamanho), posicao_(posicao) {}
  int64_t ZARP_STDCALL GetSize() override { return tamanho_; }
  int64_t ZARP_STDCALL GetPosition() override { return posicao_; }
  void ZARP_STDCALL SetPosition(int64_t p) override { posicao_ = p; }
  int32_t ZARP_STDCALL Read(void* buffer, int32_t count) override {
    std::memset(buffer, 0, static_cast<size_t>(count));
    posicao_ += count;
    return count;
  }
  int32_t ZARP_STDCALL Write(const void*, int32_t count) override { return count; }

 private:
  int64_t tamanho_, posicao_;
};

TEST(CarelessHost, RemainingBytesAreCountedIn64Bits) {
  auto s = rt::MakeCounted<StreamEnorme>(int64_t{1} << 32, 0);
  EXPECT_EQ(BytesRestantes(s.Get()), int64_t{1} << 32);  // its low 32 bits say 0
  auto t = rt::MakeCounted<StreamEnorme>((int64_t{1} << 32) + 10, 20);
  EXPECT_EQ(BytesRestantes(t.Get()), (int64_t{1} << 32) - 10);  // the low 32 bits say -10
}

// --- Failures of the datasets -------------------------------------------------------------------

TEST(DatasetFailures, AFailingPostTakesTheSectionBackOutAndRestoresTheFlag) {
  FichaTres origem;
  origem.Preencher();
  Bytes salvo = Salvar(origem);
  FichaTres ficha;
  ficha.a->SetSomenteLeitura(true);
  int posts = 0;
  ficha.a->BeforePost = [&](db::TDataSet*) {
    if (++posts == 3) throw db::EDatabaseError(u"refused");
  };
  try {
    Carregar(ficha, salvo);
    FAIL() << "loaded";
  } catch (const db::EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"refused");
  }
  EXPECT_EQ(ficha.a->RecordCount(), 0);
  EXPECT_EQ(ficha.a->State(), db::TDataSetState::dsBrowse);
  EXPECT_TRUE(ficha.a->SomenteLeitura());
  EXPECT_FALSE(ficha.a->ControlsDisabled());
  EXPECT_EQ(ficha.c->RecordCount(), 0);  // the sections after it were never read
}

}  // namespace
}  // namespace zarp::test
