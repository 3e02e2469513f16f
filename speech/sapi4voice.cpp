#include "speech/sapi4voice.h"

#include "platform/audio/pcmstream.h"
#include "platform/codepage/cp1250.h"
#include "platform/profile/inifile.h"
#include "shell/language.h"
#include "shell/messagebox.h"
#include "speech/speechfront.h"
#include "speech/speechplatform.h"
#include "speech/voicedialog.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <climits>
#include <functional>

namespace {

constexpr std::size_t maxmodename = 262;

template <class T> struct attrrange {
    bool known = false;
    T current{}, minimum{}, maximum{};
};

// Reads the current value, then the ends of the range by setting 0 and all ones, then puts
// the value back. An attribute the engine lacks stays unknown.
template <class T>
attrrange<T> discover(const std::function<tts4::hresult(T *)> &get,
                      const std::function<tts4::hresult(T)> &set) {
    attrrange<T> r;
    T value{};
    if (get(&value) == tts4::e_notimpl || set(value) == tts4::e_notimpl)
        return r;
    set(T(0));
    get(&r.minimum);
    set(T(~T(0)));
    get(&r.maximum);
    set(value);
    r.current = value;
    r.known = true;
    return r;
}

int toint(std::uint64_t v) {
    return int(std::min<std::uint64_t>(v, INT_MAX));
}

// Maximum, then minimum, then position, each change of position running the change handler.
// A range is set whole, so a new engine's range replaces the old one even when the two do not
// overlap.
void setslider(QSlider *slider, int minimum, int maximum, int position) {
    slider->setMaximum(std::max(maximum, minimum));
    slider->setMinimum(minimum);
    slider->setValue(position);
}

} // namespace

sapi4voice::sapi4voice(speechfront &front, profile::inifile &ini, const language &lang)
    : front(front), ini(ini), lang(lang) {}

sapi4voice::~sapi4voice() {
    shutdown();
}

void sapi4voice::shutdown() {
    front.engine4 = nullptr;
    if (current && registered)
        current->UnRegister(sinkkey);
    registered = false;
    attrs = nullptr;
    current.reset();
    enumerator.reset();
    audiodest.reset();
}

void sapi4voice::initspeech(audio::sounddevice &device) {
    front.engine4 = nullptr;
    attrs = nullptr;
    current.reset();
    enumerator.reset();
    audiodest.reset();
    currentmode.reset();
    registered = false;
    try {
        audiodest = speechplatform::createaudio(device);
        if (audiodest)
            enumerator = speechplatform::createenumerator();
    } catch (...) {
        enumerator.reset(); // without voices the system runs silent
    }
}

void sapi4voice::fillvoicelist() {
    if (!form || !enumerator)
        return;
    QListWidget *list = form->voicelist;
    {
        const QSignalBlocker quiet(list);
        list->clear();
    }
    checkspeech(enumerator->Reset());
    tts4::modeinfo mode;
    std::uint32_t fetched = 0;
    checkspeech(enumerator->Next(1, &mode, &fetched));
    while (fetched == 1) {
        const QSignalBlocker quiet(list);
        list->addItem(codepage::fromcp1250(mode.szModeName.substr(0, maxmodename)));
        checkspeech(enumerator->Next(1, &mode, &fetched));
    }
    if (list->count() == 0)
        return;
    int chosen = 0;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == QStringLiteral("Jakub")) {
            chosen = i;
            break;
        }
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(chosen);
    }
    voicelistClick();
}

void sapi4voice::voicelistClick() {
    if (!enumerator || !form)
        return;
    const bool active = form->active();
    if (active)
        cutoff();
    const int n = form->voicelist->currentRow();
    if (n < 0)
        return; // nothing selected: the current mode stays
    checkspeech(enumerator->Reset());
    tts4::modeinfo mode;
    for (int i = 0; i <= n; ++i) {
        std::uint32_t fetched = 0;
        checkspeech(enumerator->Next(1, &mode, &fetched));
        if (fetched != 1)
            return; // the list no longer matches the installed voices
    }
    currentmode = mode;
    if (active)
        front.say(codepage::tocp1250(form->voicelist->currentItem()->text()));
}

void sapi4voice::preparevoice() {
    // Without a mode (no voice installed) there is nothing to select: speech stays silent.
    if (!form || !enumerator || !currentmode)
        return;
    if (current && registered)
        current->UnRegister(sinkkey);
    registered = false;
    attrs = nullptr;
    front.engine4 = nullptr;
    current.reset();

    checkspeech(enumerator->Select(currentmode->gModeID, &current, audiodest.get()));
    front.engine4 = current.get();
    front.flags.engineready = true;
    checkspeech(current->QueryAttributes(&attrs));

    tts4::attributes *a = attrs;
    const auto speed = discover<std::uint32_t>([a](std::uint32_t *v) { return a->SpeedGet(v); },
                                               [a](std::uint32_t v) { return a->SpeedSet(v); });
    const auto pitch = discover<std::uint16_t>([a](std::uint16_t *v) { return a->PitchGet(v); },
                                               [a](std::uint16_t v) { return a->PitchSet(v); });
    const auto volume = discover<std::uint32_t>([a](std::uint32_t *v) { return a->VolumeGet(v); },
                                                [a](std::uint32_t v) { return a->VolumeSet(v); });
    if (speed.known) {
        setslider(form->speedtb, toint(speed.minimum), toint(speed.maximum), toint(speed.current));
        form->speedtb->setTickInterval(toint(std::uint32_t(speed.maximum - speed.minimum) / 10));
    }
    if (pitch.known) {
        setslider(form->pitchtb, pitch.minimum, pitch.maximum, pitch.current);
        form->pitchtb->setTickInterval((int(pitch.maximum) - int(pitch.minimum)) / 10);
    }
    if (volume.known) {
        // The high byte of the left channel's level: 0 to 255.
        const auto level = [](std::uint32_t v) { return int((v >> 8) & 0xFF); };
        setslider(form->volumetb, level(volume.minimum), level(volume.maximum),
                  level(volume.current));
    }
    for (QWidget *w :
         std::initializer_list<QWidget *>{form->pitchtb, form->speedtb, form->volumetb,
                                          form->pitchstatic, form->speedstatic, form->volumestatic})
        w->setEnabled(true);
    checkspeech(current->Register(&front.notifysink, &sinkkey));
    registered = true;
}

void sapi4voice::readvoicesettings() {
    if (!front.flags.voiceallowed || !form)
        return;
    const std::string person = ini.readstring("Voice", "person").value_or(std::string());
    if (person.empty())
        return;
    const QString wanted = codepage::fromcp1250(person);
    QListWidget *list = form->voicelist;
    int found = -1;
    for (int i = 0; i < list->count() && found < 0; ++i)
        if (list->item(i)->text().compare(wanted, Qt::CaseInsensitive) == 0)
            found = i;
    if (found < 0) {
        messagebox::show(lang.text(43) + " " + person);
        processend::endprocess(1);
    }
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(found);
    }
    voicelistClick();
    preparevoice();
    // The sliders hold each value within the engine's range; each change reaches the engine.
    form->pitchtb->setValue(ini.readint("Voice", "pitch", 0));
    form->speedtb->setValue(ini.readint("Voice", "speed", 0));
    form->volumetb->setValue(ini.readint("Voice", "volume", 255));
}

void sapi4voice::writevoicesettings() {
    if (!form)
        return;
    const QListWidgetItem *item = form->voicelist->currentItem();
    ini.writestring("Voice", "person", item ? codepage::tocp1250(item->text()) : std::string());
    ini.writeint("Voice", "pitch", form->pitchtb->value());
    ini.writeint("Voice", "speed", form->speedtb->value());
    ini.writeint("Voice", "volume", form->volumetb->value());
}

void sapi4voice::cutoff() {
    if (current)
        checkspeech(current->AudioReset());
}

void sapi4voice::inject(const std::string &tags) {
    if (current)
        checkspeech(current->Inject(tags.c_str()));
}

bool sapi4voice::turnvoiceon() {
    if (!enumerator)
        return false;
    fillvoicelist();
    preparevoice();
    writevoicesettings();
    return true;
}
