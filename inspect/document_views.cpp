#include "inspect/document_views.h"

#include "browser/dom.h"

#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QScopeGuard>
#include <QTreeWidget>
#include <QUrl>

namespace larkspan {
namespace {

using browser::FrameDocument;
using browser::PageInspection;

constexpr int kFormImage = 3;
constexpr int kErrorImage = 0;
constexpr int kNoImage = -1;

// Whether `path` lies below `ancestor` in the frame tree.
bool isBelow(const QList<int>& path, const QList<int>& ancestor) {
    return path.size() > ancestor.size() && path.first(ancestor.size()) == ancestor;
}

QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& caption, int image,
                         const TreeImages& images) {
    auto* node = new QTreeWidgetItem(parent, QStringList{caption});
    node->setData(0, Qt::UserRole, image);
    if (image >= 0 && images) {
        node->setIcon(0, images(image));
    }
    return node;
}

}  // namespace

QString crLfLineEnds(const QString& text) {
    QString result;
    result.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n') {
                ++i;
            }
            result.append(u"\r\n");
        } else if (c == u'\n') {
            result.append(u"\r\n");
        } else {
            result.append(c);
        }
    }
    return result;
}

QString ReadDocumentSource(TWebbrowser* browser) {
    std::optional<PageInspection> page = PageInspection::open(browser);
    return page ? crLfLineEnds(page->source()) : QString();
}

bool WalkFrameDocuments(const QList<FrameDocument>& documents,
                        const std::function<bool(const FrameDocument&)>& visit) {
    for (const FrameDocument& document : documents) {
        if (!visit(document)) {
            return false;
        }
    }
    return true;
}

void ListDocumentLinks(TWebbrowser* browser, QStringList& lines) {
    lines.clear();
    std::optional<PageInspection> page = PageInspection::open(browser);
    if (!page) {
        return;
    }
    std::optional<QList<int>> skipped;
    WalkFrameDocuments(page->frames(kFrameAnswerTime), [&](const FrameDocument& document) {
        if (skipped && isBelow(document.path, *skipped)) {
            return true;
        }
        skipped.reset();
        if (!document.reached) {
            return true;
        }
        if (!document.bodyTag) {
            skipped = document.path;
            return true;
        }
        if (*document.bodyTag == QLatin1String("BODY")) {
            lines.append(document.links);
        }
        return true;
    });
}

void ListFrameAddresses(TWebbrowser* browser, QStringList& lines) {
    lines.clear();
    std::optional<PageInspection> page = PageInspection::open(browser);
    if (!page) {
        return;
    }
    WalkFrameDocuments(page->frames(kFrameAnswerTime), [&lines](const FrameDocument& document) {
        if (!document.reached) {
            throw dom::DomError("A frame of another site did not answer");
        }
        lines.append(document.url);
        return true;
    });
    // The top document's own address.
    lines.removeFirst();
}

void ListImageFiles(TWebbrowser* browser, QStringList& lines) {
    lines.clear();
    std::optional<PageInspection> page = PageInspection::open(browser);
    if (!page) {
        return;
    }
    for (const QString& address : page->imageSources()) {
        QString file;
        FindCacheFile(address, file);
        lines.append(QStringLiteral("--url  :") + address);
        lines.append(QStringLiteral("--local:") + file);
    }
}

bool FindCacheFile(const QString& address, QString& file) {
    const QUrl url(address);
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) {
        return false;
    }
    file = url.toLocalFile();
    return true;
}

QStringList formFieldLines(const QList<browser::FormControlFields>& controls) {
    QStringList lines;
    for (const browser::FormControlFields& control : controls) {
        lines.append(QStringLiteral("Name :") + control.name + QStringLiteral(" ; ID :") +
                     control.id + QStringLiteral(" ; TagName :") + control.tagName +
                     QStringLiteral(" ; toString :") + control.text +
                     QStringLiteral(" ; innerText :") + control.innerText +
                     QStringLiteral(" ; innerHTML :") + control.innerHTML);
    }
    return lines;
}

bool ListFormFields(TWebbrowser* browser, QStringList& lines) {
    lines.clear();
    std::optional<PageInspection> page = PageInspection::open(browser);
    if (!page) {
        return false;
    }
    const browser::FormControls read = page->formControls();
    if (read.formElements == 0) {
        return false;
    }
    lines = formFieldLines(read.controls);
    return !read.error;
}

int formTreeImage(const QString& type) {
    static const QHash<QString, int> kImages{
        {QStringLiteral("text"), 0},       {QStringLiteral("submit"), 1},
        {QStringLiteral("file"), 2},       {QStringLiteral("hidden"), 4},
        {QStringLiteral("checkbox"), 5},   {QStringLiteral("radio"), 6},
        {QStringLiteral("select-one"), 7},
    };
    return kImages.value(type, kNoImage);
}

void fillFormTree(QTreeWidget* tree, const QList<browser::FormTreeForm>& forms,
                  const TreeImages& images) {
    for (qsizetype i = 0; i < forms.size(); ++i) {
        const browser::FormTreeForm& form = forms.at(i);
        auto* formNode = addNode(tree->invisibleRootItem(),
                                 QStringLiteral("Form%1: %2").arg(QString::number(i), form.name),
                                 kFormImage, images);
        for (const browser::FormTreeControl& control : form.controls) {
            if (control.error) {
                addNode(formNode, *control.error, kErrorImage, images);
                continue;
            }
            auto* node = addNode(formNode, control.name + QStringLiteral(" = ") + control.value,
                                 formTreeImage(control.type), images);
            addNode(node, control.type, kNoImage, images);
            if (control.type == QLatin1String("text")) {
                addNode(node, QStringLiteral("MaxLen=%1").arg(control.maxLength), kNoImage, images);
            } else if (control.type == QLatin1String("select-one")) {
                for (const auto& [text, value] : control.options) {
                    addNode(node, text + QStringLiteral(" = <") + value + u'>', kNoImage, images);
                }
            }
        }
    }
    if (tree->topLevelItemCount() > 0) {
        tree->expandRecursively(tree->model()->index(0, 0));
    }
}

void BuildFormTree(QTreeWidget* tree, TWebbrowser* browser, const TreeImages& images) {
    tree->clear();
    // Drawn once, when the tree is complete.
    tree->setUpdatesEnabled(false);
    const auto redraw = qScopeGuard([tree] { tree->setUpdatesEnabled(true); });
    std::optional<PageInspection> page = PageInspection::open(browser);
    if (page) {
        fillFormTree(tree, page->formTree(), images);
    }
}

}  // namespace larkspan
