// Pictures of the plot for the documentation, each at scale 1 and 2:
//
//   plot_pictures OUT_DIR
//
// writes OUT_DIR/plot-NAME-scale1.png and -scale2.png, black on white as
// probex-calc --plot writes them, for results that test the picture: a
// heavy tail, poles, a point mass, intervals and a discrete quantile.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "Inputs.h"
#include "plot/PlotFile.h"

namespace {

struct Picture {
  const char* name;
  std::vector<std::string> words;
};

const QSize kPictureSize(800, 500);

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: plot_pictures OUT_DIR\n");
    return 64;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const Picture pictures[] = {
      {"cauchy-heavy-tail", {"cauchy", "0", "1", "50"}},
      {"beta-two-poles", {"beta", "0.5", "0.5", "0.3"}},
      {"gamma-pole-between", {"--between", "gamma", "0.5", "1", "0.1", "2"}},
      {"normal-between", {"--between", "normal", "0", "1", "-1.96", "1.96"}},
      {"binomial-between", {"--between", "binomial", "0.5", "10", "3", "7"}},
      {"binomial-quantile", {"--inverse", "binomial", "0.5", "10", "0.5"}},
      {"geometric-point-mass", {"geometric", "1", "0"}},
      {"noncentral-f-smallest", {"noncentralf", "3", "20", "2", "1.5"}},
  };
  for (const Picture& p : pictures) {
    const plot::PlotModel model = plot::BuildPlotModel(ResultOf(p.words));
    const QSize size = QString::fromLatin1(p.name).endsWith(QLatin1String("smallest"))
                           ? QSize(240, 160)
                           : kPictureSize;
    for (int scale : {1, 2}) {
      const QString file =
          out.filePath(QStringLiteral("plot-%1-scale%2.png").arg(QLatin1String(p.name)).arg(scale));
      if (!plot::PlotImage(size, model, scale).save(file)) return 1;
    }
  }
  return 0;
}
