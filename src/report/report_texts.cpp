// Fixed texts of the house report. Every paragraph is one line of plain ASCII without line breaks,
// since the report inserts it as it stands into rich text that is saved as RTF and printed.
#include "report/report_texts.h"

namespace solvane::report {
namespace {

bool IsHouse(int house) { return house >= 1 && house <= kHouseCount; }
bool IsPlanet(int planet) { return planet >= 0 && planet < kPlanetCount; }

// clang-format off

constexpr std::string_view kHouseNames[kHouseCount] = {
    "First House",   "Second House", "Third House", "Fourth House",
    "Fifth House",   "Sixth House",  "Seventh House", "Eighth House",
    "Ninth House",   "Tenth House",  "Eleventh House", "Twelfth House",
};

constexpr std::string_view kMoreAboutHeadings[kHouseCount] = {
    "More About First House",   "More About Second House", "More About Third House",
    "More About Fourth House",  "More About Fifth House",  "More About Sixth House",
    "More About Seventh House", "More About Eighth House", "More About Ninth House",
    "More About Tenth House",   "More About Eleventh House", "More About Twelfth House",
};

constexpr PlanetReportLabel kPlanetReportLabels[kPlanetCount] = {
    {"Sun In",     "Characteristics Of Planet Sun :-",     kDarkRed},
    {"Moon In",    "Characteristics Of Planet Moon :-",    kBlue},
    {"Mercury In", "Characteristics Of Planet Mercury :-", kDarkRed},
    {"Venus In",   "Characteristics Of Planet Venus :-",   kBlue},
    {"Mars In",    "Characteristics Of Planet Mars :-",    kDarkRed},
    {"Jupiter In", "Characteristics Of Planet Jupiter :-", kBlue},
    {"Saturn In",  "Characteristics Of Planet Saturn :-",  kDarkRed},
    {"Uranus In",  "Characteristics Of Planet Uranus :-",  kBlue},
    {"Neptune In", "Characteristics Of Planet Neptune :-", kDarkRed},
    {"Pluto In",   "Characteristics Of Planet Pluto :-",   kBlue},
};

constexpr PlanetReportLabel kNoLabel{{}, {}, kBlack};

// One row per house (first to twelfth), one column per planet in the order Sun .. Pluto.
constexpr std::string_view kPlanetInHouseTexts[kHouseCount][kPlanetCount] = {
    {  // First house: the self, personality, body and appearance.
        /* Sun */ R"(People born with the Sun in the first house carry themselves with natural confidence, and others tend to notice them the moment they walk into a room. The sense of self is strongly marked: they want to be seen as they really are, and they would rather lead than follow. Vitality is usually good, the constitution sturdy and recovery from illness quick. The same strength can turn into pride or a need to stand at the centre of every plan, so the lesson of this placement is to let your warmth serve others rather than simply shine on them.)",
        /* Moon */ R"(Those with the Moon in the first house wear their feelings openly, and their face often shows a mood before they say a word. They are quick to sympathise and easy to approach, but they grow restless whenever life feels unsettled.)",
        /* Mercury */ R"(With Mercury in the first house, a person comes across as alert, curious and talkative, and often looks younger than their years. A ready wit is part of the charm, and words come before action.)",
        /* Venus */ R"(People with Venus in the first house have a pleasing appearance and an easy charm. They dress with taste and have natural good manners, though their love of harmony can keep them from saying what they think.)",
        /* Mars */ R"(Mars in the first house gives a forceful, energetic personality. Such people act first, think afterwards and rarely hide what they want. The body is strong and athletic but prone to cuts, burns and fevers, and a scar on the head or face is traditionally linked with this position. Patience is their great lesson.)",
        /* Jupiter */ R"(Those born with Jupiter in the first house are generous, hopeful and well meaning, and people trust them almost at once. Good fortune seems to follow them, and in later life the frame may grow broad.)",
        /* Saturn */ R"(People whose Saturn falls in the first house tend to be serious from an early age, often carrying responsibility while other children played. They are reserved and slow to show their feelings, and health needs steady care, yet their endurance is remarkable. What they build grows slowly and lasts.)",
        /* Uranus */ R"(Uranus in the first house marks an original, independent person. If this is your placement, you resist every attempt to fit you into a mould, and your life takes sudden turns.)",
        /* Neptune */ R"(People with Neptune in the first house have a soft, elusive quality. They are sensitive and imaginative, easily coloured by their surroundings, and may struggle to say who they really are.)",
        /* Pluto */ R"(Pluto in the first house gives an intense, magnetic presence and a will that does not bend easily.)",
    },
    {  // Second house: wealth, possessions, speech and family.
        /* Sun */ R"(Those born with the Sun in the second house tie their sense of worth to what they earn and own. They take pride in providing for their family, and their speech carries authority.)",
        /* Moon */ R"(People with the Moon in the second house feel safe when the savings are secure and the family table is full. Income may rise and fall like the tide, and the voice is often soft and pleasant.)",
        /* Mercury */ R"(Mercury in the second house favours earning through the mind: trade, accounts, writing, teaching or sales. Those who have it speak well, bargain shrewdly and often keep more than one income going.)",
        /* Venus */ R"(With Venus in the second house, money tends to come with some ease and is gladly spent on beautiful things, good food and fine clothes. The voice is sweet, and the family often values music and art.)",
        /* Mars */ R"(People with Mars in the second house earn with energy and spend with it too. Bold effort, land or engineering can bring money, but impulsive purchases drain it. Their speech is blunt, and family quarrels follow if they do not watch their words.)",
        /* Jupiter */ R"(Jupiter in the second house is one of the classic signs of wealth. Those who have it usually grow up with enough and find that their resources expand steadily over the years, often through teaching, advising, law, finance or religious work. They are generous with what they have and rarely let a guest leave hungry. Their speech is wise and truthful, and people listen when they talk. The family tends to be large, respected and supportive. The one risk is complacency: because money has a way of arriving, they may not always guard it as carefully as they should.)",
        /* Saturn */ R"(If Saturn sits in your second house, money probably came slowly at first, and you learned early that security must be earned. Wealth grows through thrift and patience, mostly in the second half of life, and family duties may rest on your shoulders.)",
        /* Uranus */ R"(People with Uranus in the second house see their income move in sudden jumps, and their values rarely follow convention.)",
        /* Neptune */ R"(Neptune in the second house can make money matters hazy. Those born with it may lend without keeping count or trust the wrong adviser, though art, music and healing can pay well.)",
        /* Pluto */ R"(Those born with Pluto in the second house need to control their own resources. Fortunes may be made, lost and rebuilt more than once, for they have a sharp instinct for hidden value.)",
    },
    {  // Third house: communication, siblings, short journeys and courage.
        /* Sun */ R"(People with the Sun in the third house express themselves with confidence and enjoy being heard. They are brave and enterprising, and a brother or sister may play an important part in their story, as rival or as champion.)",
        /* Moon */ R"(With the Moon in the third house, the mind is restless and curious, always hungry for news and a change of scene. A short trip lifts the mood, and ties with brothers and sisters are warm.)",
        /* Mercury */ R"(Mercury is at home in the third house, and those who have it here are born communicators. They think quickly, speak fluently and write with ease. Languages, puzzles, trade and every kind of clever negotiation come naturally to them. Their days are full of errands, messages and short journeys, and they seem to know everyone in the neighbourhood. Brothers, sisters and cousins are often close companions who share their interests. The weak point is a scattered mind: with so many ideas in the air, it can be hard to finish one thing before starting the next. If this is you, learn to choose, and your talent with words can take you a long way.)",
        /* Venus */ R"(People with Venus in the third house speak kindly and tactfully and often have a gift for writing, singing or design. Siblings and neighbours are friendly, and short journeys tend to be pleasant.)",
        /* Mars */ R"(Mars in the third house is a traditional mark of courage. Those born with it are bold, enterprising and quick to act, and they can excel in sport, journalism, sales or any field that rewards nerve. Arguments with brothers or sisters are possible, and care is needed on the road.)",
        /* Jupiter */ R"(Jupiter in the third house gives an optimistic, well-informed mind and a fondness for reading and passing on ideas. Such people usually get on well with their siblings and gain from short journeys.)",
        /* Saturn */ R"(Those with Saturn in the third house think carefully and speak with caution. Early schooling may have felt hard, or there may have been responsibility for a younger brother or sister. In time they become precise, reliable writers and speakers whose words carry real weight.)",
        /* Uranus */ R"(People with Uranus in the third house have an inventive mind whose best ideas arrive in sudden flashes.)",
        /* Neptune */ R"(With Neptune in the third house, thinking is imaginative rather than strictly logical. It is a gift for poetry, but it can leave everyday dealings muddled.)",
        /* Pluto */ R"(Pluto in the third house gives a penetrating mind that digs beneath the surface, and words that can persuade or wound.)",
    },
    {  // Fourth house: mother, home, emotional security, property and vehicles.
        /* Sun */ R"(People with the Sun in the fourth house find their centre at home. They take pride in their family roots and want to be master of their own house. Confidence grows with age, and the later years are often the most settled.)",
        /* Moon */ R"(The Moon is strong in the fourth house, and people who have it here feel deeply bound to their home, their mother and their past. The bond with the mother is close and colours the whole emotional life; her care, or the lack of it, is remembered for a lifetime. Such people need a place of their own where they can retreat, rest and be themselves. They may move house more than once, yet every home they make soon feels lived in. Land, property and vehicles can come to them. When you have this placement, inner peace depends less on outer success than on feeling that you belong somewhere.)",
        /* Mercury */ R"(Those born with Mercury in the fourth house often grew up in a home full of books and talk. They may work from home or deal in property and vehicles, and the mind is happiest in familiar surroundings.)",
        /* Venus */ R"(Venus in the fourth house brings a beautiful home, a loving bond with the mother and a taste for comfort. Such people enjoy decorating, gardening and entertaining, and often own handsome vehicles.)",
        /* Mars */ R"(People with Mars in the fourth house may have grown up in a lively or quarrelsome household, and peace at home does not always come easily. They put great energy into building, repairing and improving property. Care is needed with fire, machinery and vehicles.)",
        /* Jupiter */ R"(Jupiter in the fourth house is a blessing for home and happiness. Those who have it usually had a caring mother and a good education, and their property and contentment grow with time.)",
        /* Saturn */ R"(With Saturn in the fourth house, early home life may have felt cold or strict, and the mother may have carried heavy cares. Such people earn their security through hard work, often buy property late and become the pillar of the family in old age.)",
        /* Uranus */ R"(People with Uranus in the fourth house know an unsettled domestic life, with sudden moves and changes in the family. They need freedom even at home.)",
        /* Neptune */ R"(Neptune in the fourth house gives a dreamy longing for an ideal home. The mother may be gentle, artistic or hard to reach, and peace is often found near water.)",
        /* Pluto */ R"(Those born with Pluto in the fourth house may have lived through powerful family dramas or a great upheaval at home. Out of this they draw deep inner strength and the will to rebuild their roots.)",
    },
    {  // Fifth house: love affairs, intellect, education, children, creativity and speculation.
        /* Sun */ R"(People with the Sun in the fifth house are creative, playful and proud of what they make. They love to perform and to lead in fun and romance, and children, though perhaps few, are a source of pride. Gambling should be kept within limits.)",
        /* Moon */ R"(With the Moon in the fifth house, the heart leads in love, and romances are tender and changeable. Such people are fond of children, and creative work soothes them.)",
        /* Mercury */ R"(Those who have Mercury in the fifth house possess a bright, playful intelligence. They do well in study, enjoy games of skill and wordplay, and often write or teach. Their children are likely to be clever and talkative.)",
        /* Venus */ R"(Venus in the fifth house is one of the sweetest placements for love and pleasure. People who have it fall in love easily and are loved in return; their romances are affectionate and often playful, and they know how to court someone with grace. An artistic streak may show in music, dance, painting or drama, and they enjoy the theatre, parties and good company. Children bring them much joy, and they tend to be gentle, indulgent parents. The lesson here is to enjoy pleasure without getting lost in it, and to tell real love from a pleasant flirtation.)",
        /* Mars */ R"(People with Mars in the fifth house pursue love with passion and speed, and their romances can be stormy. They are competitive in sport and games and may be tempted by risky speculation. With children they are active and protective, though their patience may run short.)",
        /* Jupiter */ R"(Jupiter in the fifth house is a traditional sign of a fine intellect, a good education and blessings through children. Fortune also favours investments made with judgement.)",
        /* Saturn */ R"(If Saturn is in your fifth house, pleasure and romance may seem to come with conditions. Love affairs can be delayed or serious from the start, and children may come late or bring heavy responsibility. Study demands effort, yet discipline here turns a modest talent into lasting skill.)",
        /* Uranus */ R"(People with Uranus in the fifth house fall in love suddenly, often with unusual partners, and raise independent children.)",
        /* Neptune */ R"(With Neptune in the fifth house, romance is idealistic and sometimes blind, while the imagination is rich enough for film, music or poetry.)",
        /* Pluto */ R"(Pluto in the fifth house brings intense love affairs and a creative drive that can remake the whole person.)",
    },
    {  // Sixth house: work, skills, colleagues, health, service, enemies and debts.
        /* Sun */ R"(People with the Sun in the sixth house take pride in doing their work well. They are organised, overcome rivals and enjoy good health as long as they do not overwork. Work in service, medicine or administration suits them.)",
        /* Moon */ R"(With the Moon in the sixth house, moods affect health, and worry may show in the stomach or in broken sleep. Such people are caring colleagues, often in nursing, food or service.)",
        /* Mercury */ R"(Those born with Mercury in the sixth house are skilled, methodical and precise. Analysis, accounts, editing and technical work suit them, though worry can strain their nerves.)",
        /* Venus */ R"(Venus in the sixth house brings pleasant relations with colleagues and a liking for attractive workplaces, perhaps in beauty, fashion or the arts. A weakness for sweets should be watched.)",
        /* Mars */ R"(Mars works well in the sixth house, and those who have it are tireless workers who attack problems head on. They have the energy to outlast any competition and tend to defeat their enemies, open or hidden, sooner or later. They do well in the army, the police, surgery, engineering, sport or any job that demands stamina and courage. The body is resilient, but fevers, inflammations and injuries at work are possible, and a quick temper can cause friction with colleagues. Debts are usually cleared fast, since they hate to owe anyone anything.)",
        /* Jupiter */ R"(People with Jupiter in the sixth house are helpful, fair and well liked at work, often serving others through medicine, law or teaching. They should watch their weight and their liver.)",
        /* Saturn */ R"(Saturn in the sixth house makes a person dutiful, disciplined and willing to take on the hardest jobs. Work may be heavy and recognition slow, but their endurance wins in the end. Chronic complaints are possible, and steady habits of rest and diet are the best remedy.)",
        /* Uranus */ R"(Those with Uranus in the sixth house need freedom at work and change jobs often, so flexible or technical work suits them.)",
        /* Neptune */ R"(People with Neptune in the sixth house want their work to serve a higher purpose. They are compassionate helpers, but they can be confused about their health and sensitive to medicines.)",
        /* Pluto */ R"(Pluto in the sixth house brings a deep drive to master one's work and to overhaul daily routines.)",
    },
    {  // Seventh house: marriage, the spouse and partnerships.
        /* Sun */ R"(People with the Sun in the seventh house find much of their identity through partnership. They are drawn to a strong or prominent spouse and often achieve more with a partner than alone, though clashes of ego call for give and take.)",
        /* Moon */ R"(With the Moon in the seventh house, emotional needs are met through relationships, and being alone feels uncomfortable. The spouse is likely to be caring but moody.)",
        /* Mercury */ R"(Those born with Mercury in the seventh house look for a partner they can talk to. The spouse is likely to be youthful, clever and communicative. They do well in business partnerships, contracts and negotiation.)",
        /* Venus */ R"(Venus in the seventh house favours a loving and harmonious marriage. People who have it are charming partners who attract a good-looking or artistic spouse, and business partnerships also tend to prosper.)",
        /* Mars */ R"(People with Mars in the seventh house bring passion and energy to their relationships, and conflict as well. They may marry in haste or choose a strong-willed partner, and learning to cooperate rather than compete is the main task of this position.)",
        /* Jupiter */ R"(Jupiter in the seventh house is a great blessing for marriage. Those born with it usually find a wise, generous and respected spouse and gain through partnerships of every kind.)",
        /* Saturn */ R"(With Saturn in the seventh house, marriage is approached with caution and taken very seriously. Those who have this position are rarely in a hurry to commit, and the wedding is often delayed until they feel ready. The spouse may be older, mature, reserved or weighed down by responsibilities, and the relationship can feel like a duty as much as a joy. Coldness, distance or long separations may test the bond. Yet when these people do commit, they are faithful and dependable, and the marriage tends to grow stronger with the years. If this is your placement, patience is your ally: what begins slowly can become the most lasting bond of your life.)",
        /* Uranus */ R"(People with Uranus in the seventh house need a partner who respects their freedom, and an unconventional marriage may suit them best.)",
        /* Neptune */ R"(Neptune in the seventh house brings a longing for a soulmate and an idealised view of the partner. Clear agreements help to avoid disappointment.)",
        /* Pluto */ R"(Those with Pluto in the seventh house attract intense partners, and their relationships pass through deep crises and renewals.)",
    },
    {  // Eighth house: sexuality, secrets, inheritance, shared money, longevity and the occult.
        /* Sun */ R"(People with the Sun in the eighth house are drawn to the hidden side of life. They keep their affairs private, take a strong interest in research or the occult, and may gain through an inheritance or a partner's money. Vitality needs care in times of crisis.)",
        /* Moon */ R"(With the Moon in the eighth house, feelings run deep and are seldom shown. Such people sense what others try to hide, and money may come through the mother or the spouse.)",
        /* Mercury */ R"(Those born with Mercury in the eighth house have a probing mind. Research, detective work, insurance and taxes suit them, and they are drawn to astrology and psychology.)",
        /* Venus */ R"(Venus in the eighth house gives a sensual nature and deep attachments. People with this placement may benefit from the spouse's wealth or an inheritance, and their love life often has a secret side.)",
        /* Mars */ R"(People with Mars in the eighth house have powerful desires and a fearless interest in what others avoid, and surgery, mining or crisis work may draw them. Disputes over shared money or an inheritance are possible.)",
        /* Jupiter */ R"(Jupiter in the eighth house is traditionally linked with a long life and a peaceful end. Those who have it may gain through inheritance, insurance or the partner, and are drawn to occult wisdom.)",
        /* Saturn */ R"(With Saturn in the eighth house, matters of shared money, inheritance and intimacy can bring delay or difficulty, and such people may be cautious or anxious about sex. Yet Saturn here is also a classic sign of long life, and their patience carries them through hard times.)",
        /* Uranus */ R"(People with Uranus in the eighth house may see sudden gains or losses through other people's money.)",
        /* Neptune */ R"(Neptune in the eighth house brings strong psychic sensitivity and a mystical attitude towards death and rebirth. Money shared with others should always be handled with clear documents.)",
        /* Pluto */ R"(Pluto in the eighth house is in its natural territory, and those born with it live at an intense depth. They are fascinated by what lies beneath the surface: secrets, psychology, death, rebirth and the occult. Their sexual nature is powerful, and intimacy for them is transforming rather than casual. They may handle large sums that belong to others, inherit, or become caught up in struggles over joint resources. Crises come, sometimes more than once, but each one strips away something old and leaves them stronger. With this placement, you hold a rare capacity to regenerate.)",
    },
    {  // Ninth house: values, philosophy, religion, higher learning, long journeys, father, teachers, luck.
        /* Sun */ R"(People with the Sun in the ninth house are guided by strong principles and a search for meaning. They respect their father and teachers and may become teachers themselves. Higher education, law, religion and travel abroad bring them honour and good fortune.)",
        /* Moon */ R"(With the Moon in the ninth house, faith and feeling go together. Such people are devout in their own way, love pilgrimages and journeys over water, and may see their beliefs change over the course of life.)",
        /* Mercury */ R"(Those born with Mercury in the ninth house have a philosophical and well-read mind. They love higher learning, languages, publishing and debate, and they enjoy travel that broadens their knowledge.)",
        /* Venus */ R"(Venus in the ninth house brings a love of culture, art and travel. People who have it may meet a partner abroad or through their studies, and they find beauty in religion and philosophy.)",
        /* Mars */ R"(People with Mars in the ninth house defend their beliefs with passion and may become crusaders for a cause. They love adventurous journeys. Conflicts with the father, teachers or religious authorities are possible.)",
        /* Jupiter */ R"(Jupiter is strong in the ninth house, and those born with it are blessed with faith, good judgement and a generous outlook. They are drawn to philosophy, religion, law and higher learning, and many become teachers, priests, scholars or advisers whose counsel others seek. The father is often a good and respected man, and their own teachers play a large part in shaping them. Long journeys, study abroad and contact with foreign cultures widen their horizons and bring luck. Such people tend to be fortunate when it matters most, as if an unseen hand were guiding them, and they feel a duty to share their good fortune.)",
        /* Saturn */ R"(With Saturn in the ninth house, beliefs are tested and reached slowly. Such people are serious about religion or philosophy and distrust easy answers. Relations with the father can be strained and long journeys may bring delays, but their wisdom is hard won and their own.)",
        /* Uranus */ R"(People with Uranus in the ninth house question tradition and are drawn to new philosophies and sudden journeys.)",
        /* Neptune */ R"(Neptune in the ninth house brings a mystical, devotional faith and an inspired sense of the divine. Such people may travel to sacred places, but they should beware of false teachers.)",
        /* Pluto */ R"(Those with Pluto in the ninth house seek the truth with intensity, and their beliefs may be overturned and remade.)",
    },
    {  // Tenth house: career, status, reputation and authority.
        /* Sun */ R"(The Sun is powerful in the tenth house, and people who have it are born to stand in public view. They are ambitious, responsible and keen to make a name for themselves, and they rise naturally to positions of authority in government, management, politics or any field that needs leadership. Their reputation matters a great deal to them, and they work hard to protect it. Recognition often comes from superiors and people in power, and the father may strongly influence their choice of career. If this is your placement, you need a vocation you can be proud of, since a life without achievement will never satisfy you.)",
        /* Moon */ R"(With the Moon in the tenth house, the career moves with the tides of public mood. Such people do well with the public, in caring work or in trade, and the mother may shape their choice of work.)",
        /* Mercury */ R"(Those born with Mercury in the tenth house build their career on intelligence and communication. They do well in business, writing, media, teaching or administration, and they may hold more than one job at a time.)",
        /* Venus */ R"(Venus in the tenth house brings a graceful public image and success in the arts, beauty, fashion or diplomacy. People who have it are popular with superiors, and their career often benefits from good relationships.)",
        /* Mars */ R"(People with Mars in the tenth house are driven to succeed and fight hard for their position. They do well as leaders, soldiers, surgeons, engineers or entrepreneurs. Conflicts with authority are possible, and rash actions can damage their reputation.)",
        /* Jupiter */ R"(Jupiter in the tenth house brings honour, respect and a good name. Those born with it rise steadily in their careers and often hold positions of trust in law, education, finance or religion. Their work tends to benefit many.)",
        /* Saturn */ R"(With Saturn in the tenth house, ambition is strong but success comes slowly and through hard work. Such people earn their status step by step and often reach high positions later in life. They should act with integrity, since a fall from power is possible if they cut corners.)",
        /* Uranus */ R"(People with Uranus in the tenth house follow an unusual career path full of sudden changes.)",
        /* Neptune */ R"(Neptune in the tenth house points to a vocation in art, film, healing or spirituality, though the direction may long remain unclear.)",
        /* Pluto */ R"(Those with Pluto in the tenth house seek power in their career and may transform the institutions they serve.)",
    },
    {  // Eleventh house: income, gains, friendships, groups, goals and elder siblings.
        /* Sun */ R"(People with the Sun in the eleventh house shine among friends and in groups, and they often take the lead in societies or clubs. Gains come through influential friends and from the government. They set clear goals and have the energy to reach them.)",
        /* Moon */ R"(With the Moon in the eleventh house, friendships are warm and many, and much of life revolves around a social circle. Income can fluctuate but tends to be good, and women often prove helpful friends.)",
        /* Mercury */ R"(Those born with Mercury in the eleventh house gain through their intelligence, their contacts and trade. They have a wide circle of clever friends, and an elder brother or sister may lend a hand.)",
        /* Venus */ R"(Venus in the eleventh house brings pleasant friendships and gains through art, beauty or social contacts. People with this placement are popular, and friends may introduce them to love.)",
        /* Mars */ R"(People with Mars in the eleventh house pursue their goals with vigour and earn through their own effort. They make energetic leaders of groups, but quarrels with friends or with an elder sibling are possible.)",
        /* Jupiter */ R"(Jupiter in the eleventh house is a fine placement for income and gains. Those who have it usually enjoy a steady flow of money, and their earnings grow as their circle of contacts widens. Their friends are many, loyal and often influential, and they themselves are generous friends who gladly help others reach their goals. An elder brother or sister may be a real support. Wishes tend to be fulfilled, sometimes beyond expectation, and membership of groups, societies or charitable bodies brings both profit and satisfaction. If this is you, aim high, because this placement favours your hopes.)",
        /* Saturn */ R"(With Saturn in the eleventh house, gains come slowly and through patient effort. Such people keep a few loyal friends, often older ones, and their goals are reached late, but they are reached.)",
        /* Uranus */ R"(People with Uranus in the eleventh house have unusual friends, and their income may arrive suddenly.)",
        /* Neptune */ R"(Neptune in the eleventh house brings idealistic friendships and hopes. Such people may be let down by friends, but they find fulfilment in charitable and spiritual groups.)",
        /* Pluto */ R"(Those with Pluto in the eleventh house form intense friendships and have the power to sway whole groups.)",
    },
    {  // Twelfth house: expenses, losses, the hidden self, solitude, sleep, foreign lands, spiritual life.
        /* Sun */ R"(People with the Sun in the twelfth house often work behind the scenes, far from the spotlight, and may live abroad or serve in hospitals, ashrams and other places of retreat. Their confidence grows through inner work.)",
        /* Moon */ R"(With the Moon in the twelfth house, feelings are private and sometimes hidden even from oneself. Such people need solitude and good sleep, and their dreams are often vivid.)",
        /* Mercury */ R"(Those born with Mercury in the twelfth house think deeply in private and often keep their ideas to themselves. They do well in research, in writing done in solitude or in work with foreign countries.)",
        /* Venus */ R"(Venus in the twelfth house brings secret love, a fondness for comfortable beds and a generous hand. People with it spend freely on pleasure and beauty, and they find joy in quiet devotion.)",
        /* Mars */ R"(People with Mars in the twelfth house may bottle up their anger or face hidden enemies, and energy can drain away through expenses. Work abroad or in hospitals suits them, and exercise helps them sleep.)",
        /* Jupiter */ R"(Jupiter in the twelfth house brings a rich spiritual life, generosity and protection in times of loss. Those who have it spend on good causes, may settle abroad and are drawn to meditation and the search for liberation.)",
        /* Saturn */ R"(With Saturn in the twelfth house, solitude comes whether it is sought or not. Such people may face losses, heavy expenses or isolation, and sleep may be restless. Yet discipline in spiritual practice gives them great depth.)",
        /* Uranus */ R"(People with Uranus in the twelfth house have sudden intuitions and an unusual inner life.)",
        /* Neptune */ R"(Neptune in the twelfth house is at home in the realm of dreams, solitude and the spirit. Those born with it have a rich inner world and often feel most alive in quiet moments, in prayer, music or meditation, or in the vivid dreams that visit them at night. They are deeply compassionate and may give their time to hospitals, charities, retreats or people in distress. Their intuition can border on the psychic. The shadow side is a wish to escape, through daydreams, alcohol or drugs, or simply by withdrawing from the world, and money can slip away unnoticed. If this is you, a regular spiritual practice gives shape to your sensitivity and turns it into a source of peace.)",
        /* Pluto */ R"(Those with Pluto in the twelfth house carry a hidden strength and go through deep inner change in solitude.)",
    },
};

constexpr std::string_view kPlanetCharacteristics[kPlanetCount] = {
    /* Sun */ R"(The Sun is the centre of the solar system and the giver of life, and in a horoscope it stands for the soul, the will and the sense of self. It shows how a person shines, where they seek recognition and how much vitality they have to spend. The Sun also represents the father, people in authority and the government. Its influence is neither good nor evil in itself: well placed and well aspected, it gives confidence, health, dignity and the power to lead, while afflicted it can bring pride, arrogance, poor health or trouble with superiors. Because every other factor in the chart draws its light from the Sun, it is rightly called the backbone of the horoscope, and its sign and house colour the whole of life, from the way you carry yourself to the goals you choose.)",
    /* Moon */ R"(The Moon governs feelings, emotions and moods, and it shows how a person responds to life by instinct. It describes the mother, the upbringing and the habits formed in childhood, and in Vedic astrology it counts as much as the Ascendant, since it reveals the state of the mind.)",
    /* Mercury */ R"(Mercury shows how you think, speak, write and exchange ideas, and the way you learn, trade and reason with others.)",
    /* Venus */ R"(Venus rules love, beauty and pleasure, and it shows how a person expresses affection, enjoys company and responds to art. Its position reveals the style of romance, the taste in beauty and comfort, and the ease or difficulty met in social life.)",
    /* Mars */ R"(Mars is the planet of energy and action, and it shows how you assert yourself, use your power and deal with anger. Well placed it gives courage and drive, while afflicted it leads to haste, quarrels and accidents.)",
    /* Jupiter */ R"(Jupiter is the great benefic, and its house shows where you think optimistically, expect the best and find growth, wisdom and good fortune most easily.)",
    /* Saturn */ R"(Saturn is the planet of time and discipline, and it shows where you meet obstacles, restrictions and limitations. Its lessons are slow and often hard, but what is earned under Saturn tends to last.)",
    /* Uranus */ R"(Uranus stands for freedom, originality and sudden change. Its house shows where you break with convention, where you may withdraw into seclusion to follow your own path, and where life can turn without warning.)",
    /* Neptune */ R"(Neptune rules the dreamlike, spiritual and psychic side of life. It shows where you are inspired, compassionate and intuitive, and also where you may be confused or deceived.)",
    /* Pluto */ R"(Pluto shows where you seek power and face power struggles.)",
};

constexpr std::string_view kHouseDescriptions[kHouseCount] = {
    /* 1 */ R"(The first house, known as Tanu Bhava, the house of the body, is the starting point of the whole chart. Its cusp is the Ascendant, the degree of the zodiac rising on the eastern horizon at the moment of birth. It describes the self: your personality, temperament and outlook, the way you meet the world and the first impression you make on others. It also shows the physical body, your appearance, build and general health, and the vitality you can draw on throughout life. Planets placed here colour the whole character strongly. In the body, the first house is linked with the head and the brain.)",
    /* 2 */ R"(The second house, Dhana Bhava, is the house of wealth. It shows material possessions, savings, the money you earn and keep, and the things you value. It also describes the family you are born into, the food you eat and the early years spent at home. Speech belongs here too: how you talk, whether your words are sweet or harsh, and whether they earn you trust. A strong second house gives a secure income and a pleasant voice, while an afflicted one can bring money worries or quarrels within the family. In the body, the second house rules the face, the mouth, the teeth, the tongue and the eyes, the right eye above all.)",
    /* 3 */ R"(The third house, Sahaja Bhava, the house of siblings, governs communication in all its forms: speaking, writing, letters, calls and the everyday exchange of news. It shows your bond with younger brothers and sisters, with neighbours and with the local community, as well as short journeys and daily travel. The third house also measures courage, initiative and willpower, the effort you are willing to make on your own behalf. Hobbies, skill with the hands and early schooling are also read from here. A strong third house gives a lively mind and a brave heart. In the body, the third house is linked with the arms, the shoulders and the hands.)",
    /* 4 */ R"(The fourth house, Sukha Bhava, the house of happiness, describes the mother and the emotional security she gave or withheld. It shows your home, the place where you feel you belong, your roots and the atmosphere of your childhood. Land, buildings, vehicles and comforts are judged from it, as is the peace of mind you carry within. A strong fourth house gives a contented heart and a settled home, while a troubled one may bring restlessness, frequent moves or worry about the family. This house also shows how matters end and the later years of life. In the body, the fourth house is linked with the chest, the lungs and the breasts.)",
    /* 5 */ R"(The fifth house, Putra Bhava, is the house of children, and it also rules love affairs, romance, intellect and education. It shows how you play, create and enjoy yourself, your talent for art, drama and sport, and your appetite for risk through speculation, games and investment. The merit earned in past lives is said to show here, as do the quality of the mind and the ability to learn and to teach. A well-placed fifth house brings happy children, creative success and joyful love, while a troubled one asks for care in romance and in money matters. In the body, the fifth house governs the heart, the stomach and the upper back.)",
    /* 6 */ R"(The sixth house, Ari Bhava, the house of enemies, describes the daily struggles of life and the ways you overcome them. It shows your skills, your work and your attitude to service, your colleagues and employees, and the routines that shape your days. Health and illness are read from here, together with the habits that protect or harm the body. Debts, disputes, lawsuits and competitors also belong to this house. A strong sixth house gives the stamina to defeat obstacles and to recover from illness, and a real capacity for hard work. In the body, the sixth house is linked with the intestines, the digestion and the area around the navel.)",
    /* 7 */ R"(The seventh house, Kalatra Bhava, is the house of marriage. It lies opposite the first house and describes the partner who completes you: the spouse, the nature of married life and the way you relate to others in close bonds between two people. Business partnerships, contracts, agreements, open rivals and the public at large are also read from here. Planets placed in the seventh show what you seek in a partner and what you may meet in marriage, whether harmony, delay, passion or sudden change. Its ruler and its occupants describe the character and appearance of the spouse. In the body, the seventh house governs the lower back, the kidneys and the bladder.)",
    /* 8 */ R"(The eighth house, Ayu Bhava, the house of life span, is the most hidden of the twelve. It governs sexual nature and intimacy, secrets, research and the occult, and all that lies beneath the surface of ordinary life. Inheritance, legacies, insurance, taxes and the money of the spouse or of other people are judged here, as are sudden events, crises and transformations. Traditionally it also shows longevity and the manner of death. A strong eighth house gives deep insight, resilience and the power to recover after loss, however great. In the body, the eighth house is linked with the genitals, the reproductive organs and the organs of elimination.)",
    /* 9 */ R"(The ninth house, Dharma Bhava, is the house of righteousness and fortune. It shows your values, your philosophy of life and your religious faith, the principles by which you live and the ideals you pursue. Higher learning, universities, law, publishing and long journeys to foreign lands belong here, along with pilgrimages and the wisdom gained from other cultures. It also describes the father, teachers, gurus and spiritual guides, and the luck that flows from good deeds done in the past. A strong ninth house is among the most fortunate marks a chart can carry, and you may find that help arrives just when you need it most.)",
    /* 10 */ R"(The tenth house, Karma Bhava, is the house of action and the highest point of the chart. It shows your career, profession and public standing, the status you achieve and the reputation you leave behind. Authority, government, employers and the way you deal with those in power are read here, as are honours, awards and ambitions. Planets in the tenth strongly affect how the world sees you and the work you are remembered for. A strong tenth house brings success and respect, while a weak one calls for patience and effort before recognition comes. In the body, the tenth house is linked with the knees, the joints and the bones.)",
    /* 11 */ R"(The eleventh house, Labha Bhava, is the house of gains. It shows income, profits and the rewards of your efforts, and whether your dearest hopes and wishes come true. Friendships, social circles, clubs, societies and the groups you belong to are read here, as are your long-term goals and the people who help you reach them. Elder brothers and sisters also belong to this house, along with the help they give. Any planet placed here is said to give something good in the end, which is why even the harsher planets tend to do well in the eleventh. In the body, the eleventh house governs the ankles, the calves and the shins.)",
    /* 12 */ R"(The twelfth house, Vyaya Bhava, the house of loss, closes the circle of the chart. It rules expenses, losses and whatever is given away, by choice or by necessity. It describes the hidden self, secret fears and hopes, solitude, sleep and dreams, and places of retreat such as hospitals, monasteries and prisons. Foreign lands and a life far from home are also read here. Above all, the twelfth house is the house of spiritual life and liberation, where the self lets go of worldly attachments. A strong twelfth house brings peace, generous giving and a deep inner life. In the body, the twelfth house is linked with the feet and the left eye.)",
};

// clang-format on

}  // namespace

std::string_view HouseNames(int house) {
  return IsHouse(house) ? kHouseNames[house - 1] : std::string_view{};
}

std::string_view MoreAboutHeadings(int house) {
  return IsHouse(house) ? kMoreAboutHeadings[house - 1] : std::string_view{};
}

const PlanetReportLabel& PlanetReportLabels(int planet) {
  return IsPlanet(planet) ? kPlanetReportLabels[planet] : kNoLabel;
}

std::string_view PlanetInHouseTexts(int house, int planet) {
  return IsHouse(house) && IsPlanet(planet) ? kPlanetInHouseTexts[house - 1][planet]
                                            : std::string_view{};
}

std::string_view PlanetCharacteristics(int planet) {
  return IsPlanet(planet) ? kPlanetCharacteristics[planet] : std::string_view{};
}

std::string_view HouseDescriptions(int house) {
  return IsHouse(house) ? kHouseDescriptions[house - 1] : std::string_view{};
}

}  // namespace solvane::report
